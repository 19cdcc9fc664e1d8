// The launcher's fallback scan with nothing around it: list a folder, probe each
// immediate sub-folder for Tandrel.exe the same way, hand the first hit to the
// shell. Fixed buffers, no language, no registry, no edition probe.
// Usage: bare_scan.exe FOLDER     (exit 0: started, 1: nothing found)
#include <cstdlib>
#include <cwchar>

#include "platform/windows.h"

namespace {

const size_t kPathUnits = 4 * MAX_PATH;

bool IsDotEntry(const wchar_t* name) { return wcscmp(name, L".") == 0 || wcscmp(name, L"..") == 0; }

// out = dir + "\" + name + tail; false when it does not fit.
bool Join(wchar_t (&out)[kPathUnits], const wchar_t* dir, const wchar_t* name, const wchar_t* tail) {
    if (wcslen(dir) + 1 + wcslen(name) + wcslen(tail) >= kPathUnits) return false;
    wcscpy(out, dir);
    wcscat(out, L"\\");
    wcscat(out, name);
    wcscat(out, tail);
    return true;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
    if (__argc != 2) return 2;
    const wchar_t* dir = __wargv[1];
    wchar_t pattern[kPathUnits];
    if (!Join(pattern, dir, L"*.*", L"")) return 2;

    WIN32_FIND_DATAW entry;
    const HANDLE search = FindFirstFileW(pattern, &entry);
    if (search == INVALID_HANDLE_VALUE) return 1;
    int result = 1;
    do {
        if (IsDotEntry(entry.cFileName)) continue;
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) continue;
        wchar_t candidate[kPathUnits];
        if (!Join(candidate, dir, entry.cFileName, L"\\Tandrel.exe")) continue;
        if (GetFileAttributesW(candidate) != INVALID_FILE_ATTRIBUTES) {
            wchar_t folder[kPathUnits];
            Join(folder, dir, entry.cFileName, L"");
            ShellExecuteW(nullptr, nullptr, candidate, L"", folder, SW_SHOWNORMAL);
            result = 0;
            break;
        }
    } while (FindNextFileW(search, &entry) != 0);
    FindClose(search);
    return result;
}
