#include "localization/button_labels.h"

#include "localization/string_lookup.h"
#include "platform/kernel.h"
#include "resources/resource_ids.h"

ButtonLabels::ButtonLabels(LANGID language) : smallIcon(nullptr), hookHandle(nullptr) {
    // Results ignored: a caption that cannot be read leaves its button blank.
    LoadStringForLanguage(IDS_BTN_OK, language, okLabel);
    LoadStringForLanguage(IDS_BTN_CANCEL, language, cancelLabel);
    LoadStringForLanguage(IDS_BTN_YES, language, yesLabel);
    LoadStringForLanguage(IDS_BTN_NO, language, noLabel);
    LoadStringForLanguage(IDS_BTN_RETRY, language, retryLabel);
    LoadStringForLanguage(IDS_BTN_IGNORE, language, ignoreLabel);
    LoadStringForLanguage(IDS_BTN_CONTINUE, language, continueLabel);
    // The standard-size image; a null icon is kept and sent as it is.
    smallIcon = LoadIconW(kernel::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_APP));
}

// The members go in reverse order, continueLabel first and okLabel last.
ButtonLabels::~ButtonLabels() = default;
