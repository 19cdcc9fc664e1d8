#include "launcher/install_dir.h"

#include <cwchar>

#include "platform/kernel.h"

void DropOneTrailingBackslash(wchar_t (&dir)[MAX_PATH]) {
    const size_t length = wcsnlen(dir, MAX_PATH);
    if (length > 0 && length < MAX_PATH && dir[length - 1] == L'\\') dir[length - 1] = L'\0';
}

void SettleInstallDirectory(wchar_t (&dir)[MAX_PATH], DWORD length) {
    // Older Windows leave a cut path unterminated.
    dir[MAX_PATH - 1] = L'\0';
    if (length != 0) {
        // A cut path counts too: its last (cut) component is what goes.
        PathRemoveFileSpecW(dir);
    } else {
        dir[0] = L'\0';
        const DWORD needed = kernel::GetCurrentDirectoryW(MAX_PATH, dir);
        // Unreadable or too long for the buffer: "." still names the current
        // directory, so the paths composed from it stay where they were meant to be.
        if (needed == 0 || needed >= MAX_PATH) wcscpy(dir, L".");
    }
    DropOneTrailingBackslash(dir);
}

void GetInstallDirectory(LauncherState& state) {
    const DWORD length = kernel::GetModuleFileNameW(nullptr, state.installDir, MAX_PATH);
    SettleInstallDirectory(state.installDir, length);
}
