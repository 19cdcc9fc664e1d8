#include "launcher/game_discovery.h"

#include <cwchar>

#include "launcher/edition_table.h"
#include "launcher/game_paths.h"
#include "platform/kernel.h"

namespace {

// Attributes are not looked at: a directory named Tandrel.exe counts as well.
bool PathExists(const std::wstring& path) {
    return kernel::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool IsDotEntry(const wchar_t* name) {
    return wcscmp(name, L".") == 0 || wcscmp(name, L"..") == 0;
}

// First immediate sub-folder, in listing order, that holds the executable.
void ScanSubFolders(LauncherState& state) {
    WIN32_FIND_DATAW entry;
    const HANDLE search = kernel::FindFirstFileW(ComposeSearchPattern(state.installDir).c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        if (IsDotEntry(entry.cFileName)) continue;
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) continue;
        std::wstring candidate = ComposeCandidatePath(state.installDir, entry.cFileName);
        if (PathExists(candidate)) {
            state.exePath = candidate;
            state.editionFolder = entry.cFileName;
            break;
        }
    } while (kernel::FindNextFileW(search, &entry) != 0);
    kernel::FindClose(search);
}

}  // namespace

void FindGameExecutable(LauncherState& state) {
    state.exePath.clear();
    state.editionFolder = LookupEditionFolder(state.language);

    std::wstring candidate = ComposeCandidatePath(state.installDir, state.editionFolder.c_str());
    if (PathExists(candidate)) {
        state.exePath = candidate;
        return;
    }
    ScanSubFolders(state);
}

void StartGame(const LauncherState& state) {
    const std::wstring workingDir = ComposeWorkingDirectory(state.installDir, state.editionFolder);
    // Parameters are an empty string, not null; the game always gets SW_SHOWNORMAL.
    ShellExecuteW(nullptr, nullptr, state.exePath.c_str(), L"", workingDir.c_str(), SW_SHOWNORMAL);
}
