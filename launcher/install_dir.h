// The launcher's own directory, the root of every path the run composes.
#pragma once

#include "launcher/launcher_state.h"

// Fills state.installDir: the executable's folder, or the current directory
// when the executable's path cannot be read.
void GetInstallDirectory(LauncherState& state);

// The part of GetInstallDirectory after the module path was asked for:
// `dir` holds what GetModuleFileNameW wrote and `length` is what it returned.
void SettleInstallDirectory(wchar_t (&dir)[MAX_PATH], DWORD length);

// Removes exactly one trailing backslash, so a drive root "D:\" becomes "D:".
void DropOneTrailingBackslash(wchar_t (&dir)[MAX_PATH]);
