// Where the test programs find what they drive, and the user they run as.
#pragma once

#include <string>

#include "platform/windows.h"

// Folder of the running test program; the test tools are built beside it.
std::wstring TestProgramDir();

// The launcher under test: TANDREL_LAUNCHER from the environment (a Windows path
// or a Unix path, which Wine reaches through Z:), else the twin beside the tests.
std::wstring LauncherUnderTest();

// The stand-in game built beside the tests.
std::wstring StandInGame();

// A Unix path as Wine's Z: drive sees it; Windows paths pass through.
std::wstring WindowsPathOf(const std::wstring& path);

// How long a launcher run may take: TANDREL_RUN_TIMEOUT_MS, else 30 s.
DWORD RunTimeoutMs();

std::wstring HexLangId(LANGID id);
