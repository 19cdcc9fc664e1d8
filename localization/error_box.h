// The one error report of the launcher: a message box in the edition's language.
#pragma once

#include "platform/windows.h"

// Shows the "cannot find the game" box in `language` and returns when it is
// closed; returns at once, showing nothing, when its texts cannot be read.
void ShowLocalizedError(LANGID language);
