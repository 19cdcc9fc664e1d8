// The seven button captions and the small icon that the error box is given in
// the edition's language, with the handle of the hook that applies them.
#pragma once

#include <string>

#include "platform/windows.h"

struct ButtonLabels {
    // Reads the captions in `language` (an unreadable one stays empty) and
    // loads the launcher's icon. Reports no failure.
    explicit ButtonLabels(LANGID language);
    // Releases the captions only: the icon is shared and the hook removes itself.
    ~ButtonLabels();

    std::wstring okLabel;
    std::wstring cancelLabel;
    std::wstring yesLabel;
    std::wstring noLabel;
    std::wstring retryLabel;
    std::wstring ignoreLabel;
    std::wstring continueLabel;
    HICON smallIcon;   // the module's shared icon, never destroyed
    HHOOK hookHandle;  // the installed hook; null while none is
};
