#include "launcher/game_paths.h"

const wchar_t kGameExeName[] = L"Tandrel.exe";

std::wstring ComposeCandidatePath(const wchar_t* installDir, const wchar_t* folder) {
    std::wstring path = installDir;
    path += L'\\';
    path += folder;
    path += L'\\';
    path += kGameExeName;
    return path;
}

std::wstring ComposeSearchPattern(const wchar_t* installDir) {
    std::wstring pattern = installDir;
    pattern += L"\\*.*";
    return pattern;
}

std::wstring ComposeWorkingDirectory(const wchar_t* installDir, const std::wstring& folder) {
    std::wstring path = installDir;
    path += L'\\';
    path += folder;
    return path;
}
