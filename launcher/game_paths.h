// How the run composes its paths from the launcher's directory. No length limit
// of their own: each goes to the platform as it is.
#pragma once

#include <string>

extern const wchar_t kGameExeName[];  // "Tandrel.exe"

// installDir\folder\Tandrel.exe
std::wstring ComposeCandidatePath(const wchar_t* installDir, const wchar_t* folder);
// installDir\*.*
std::wstring ComposeSearchPattern(const wchar_t* installDir);
// installDir\folder
std::wstring ComposeWorkingDirectory(const wchar_t* installDir, const std::wstring& folder);
