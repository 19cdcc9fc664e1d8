// The least a launcher can do on the found path: hand a known game to the shell
// exactly as the launcher does, and end.
// Usage: baseline_shell.exe GAME_EXE GAME_FOLDER
#include <cstdlib>

#include "platform/windows.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
    if (__argc != 3) return 2;
    ShellExecuteW(nullptr, nullptr, __wargv[1], L"", __wargv[2], SW_SHOWNORMAL);
    return 0;
}
