#include "localization/labelled_box.h"

#include "platform/kernel.h"

#ifndef IDCONTINUE
#define IDCONTINUE 11  // missing from some headers for Windows 5.0
#endif

ButtonLabels* gActiveLabels = nullptr;

namespace {

struct LabelSlot {
    int controlId;
    std::wstring ButtonLabels::*label;
};

// Ascending control id. IDABORT, IDHELP and IDTRYAGAIN keep the platform's captions.
constexpr LabelSlot kLabelSlots[] = {
    {IDOK, &ButtonLabels::okLabel},         {IDCANCEL, &ButtonLabels::cancelLabel},
    {IDRETRY, &ButtonLabels::retryLabel},   {IDIGNORE, &ButtonLabels::ignoreLabel},
    {IDYES, &ButtonLabels::yesLabel},       {IDNO, &ButtonLabels::noLabel},
    {IDCONTINUE, &ButtonLabels::continueLabel},
};

}  // namespace

LRESULT CALLBACK CbtHookProc(int code, WPARAM wParam, LPARAM lParam) {
    ButtonLabels* const labels = gActiveLabels;
    if (labels == nullptr) {
        // No box of ours is up: a hook that outlived it must stay inert.
        CallNextHookEx(nullptr, code, wParam, lParam);
        return 0;
    }
    if (code != HCBT_ACTIVATE) {
        // The next hook's answer is not passed back: nothing may stop the box.
        CallNextHookEx(labels->hookHandle, code, wParam, lParam);
        return 0;
    }
    // On this thread the first window to be activated is the box.
    const HWND box = reinterpret_cast<HWND>(wParam);
    for (const LabelSlot& slot : kLabelSlots) {
        if (GetDlgItem(box, slot.controlId) != nullptr) {
            SetDlgItemTextW(box, slot.controlId, (labels->*slot.label).c_str());
        }
    }
    SendMessageW(box, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(labels->smallIcon));
    UnhookWindowsHookEx(labels->hookHandle);
    // Removed: the teardown in ShowBoxWithLabels has nothing left to remove.
    labels->hookHandle = nullptr;
    return 0;
}

int ShowBoxWithLabels(HWND owner, const std::wstring& text, const std::wstring& caption, LANGID language,
                      UINT style) {
    ButtonLabels labels(language);
    gActiveLabels = &labels;
    // A null handle is not an error: the box then keeps the platform's captions.
    labels.hookHandle = SetWindowsHookExW(WH_CBT, CbtHookProc, nullptr, kernel::GetCurrentThreadId());
    const int result = MessageBoxW(owner, text.c_str(), caption.c_str(), style);
    // A box that was never activated (MessageBoxW failed before it had a
    // window) leaves the hook in place; it must not outlive the labels.
    if (labels.hookHandle != nullptr) UnhookWindowsHookEx(labels.hookHandle);
    gActiveLabels = nullptr;
    return result;
}
