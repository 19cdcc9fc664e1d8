// The working record of one run, owned by wWinMain and gone when it returns.
#pragma once

#include <string>

#include "platform/windows.h"

struct LauncherState {
    LANGID language = 0;              // always one of the five edition LANGIDs once chosen
    wchar_t installDir[MAX_PATH] = {}; // launcher's folder, no trailing backslash
    std::wstring exePath;              // empty until a game executable is found
    std::wstring editionFolder;        // single path component under installDir
};
