// For scripts/screenshots.sh: waits for the launcher's error box on the desktop
// it runs in, writes the box's frame as "x y width height" to RECT_FILE, and
// closes the box once DONE_FILE exists. Exits 1 if no box shows up in 30 s.
// It must run in the same Wine desktop as the launcher to see the box.
//
// Usage: box_probe RECT_FILE DONE_FILE   (Windows paths)
#include <cstdio>
#include <string>

#include "platform/windows.h"

namespace {

BOOL CALLBACK FindErrorBox(HWND window, LPARAM found) {
    wchar_t name[16] = {};
    wchar_t caption[16] = {};
    GetClassNameW(window, name, 16);
    GetWindowTextW(window, caption, 16);
    if (IsWindowVisible(window) && lstrcmpW(name, L"#32770") == 0 && lstrcmpW(caption, L"Tandrel") == 0) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

HWND WaitForErrorBox(DWORD timeoutMs) {
    const DWORD begin = GetTickCount();
    do {
        HWND box = nullptr;
        EnumWindows(FindErrorBox, reinterpret_cast<LPARAM>(&box));
        if (box != nullptr) return box;
        Sleep(100);
    } while (GetTickCount() - begin < timeoutMs);
    return nullptr;
}

// Written under another name first, so the script never reads half a line.
bool WriteRect(const std::wstring& path, const RECT& frame) {
    const std::wstring part = path + L".part";
    FILE* file = _wfopen(part.c_str(), L"wb");
    if (file == nullptr) return false;
    std::fprintf(file, "%ld %ld %ld %ld\n", frame.left, frame.top, frame.right - frame.left,
                 frame.bottom - frame.top);
    std::fclose(file);
    return MoveFileExW(part.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) return 2;
    const HWND box = WaitForErrorBox(30000);
    if (box == nullptr) return 1;
    // Nothing on a bare X server gives the desktop the X focus, so Wine draws
    // the box with an inactive caption; draw it as the user would see it.
    SendMessageW(box, WM_NCACTIVATE, TRUE, 0);
    // The box paints on its own thread, in another process.
    Sleep(500);
    RECT frame = {};
    GetWindowRect(box, &frame);
    if (!WriteRect(argv[1], frame)) return 3;
    const DWORD begin = GetTickCount();
    while (GetFileAttributesW(argv[2]) == INVALID_FILE_ATTRIBUTES && GetTickCount() - begin < 60000) Sleep(100);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    return 0;
}
