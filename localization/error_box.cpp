#include "localization/error_box.h"

#include <string>

#include "localization/labelled_box.h"
#include "localization/string_lookup.h"
#include "resources/resource_ids.h"

void ShowLocalizedError(LANGID language) {
    std::wstring text;
    std::wstring caption;
    // Without the edition's block there is nothing to show; the caption is then not asked for.
    if (!LoadStringForLanguage(IDS_EXE_NOT_FOUND, language, text)) return;
    if (!LoadStringForLanguage(IDS_APP_TITLE, language, caption)) return;
    // No owner, one OK button, no message icon. Its result is not used: the run
    // ends with -1 whether or not the box could be shown.
    ShowBoxWithLabels(nullptr, text, caption, language, MB_OK);
}
