// Finding the game executable and handing it to the shell.
#pragma once

#include "launcher/launcher_state.h"

// Probes the chosen edition's folder, then every immediate sub-folder in the
// platform's listing order. Sets exePath (empty when nothing was found) and
// editionFolder (the folder it was found in, else the edition's own).
void FindGameExecutable(LauncherState& state);

// Asks the shell to start exePath with its folder as working directory.
// Does not wait for the game and does not consult the outcome.
void StartGame(const LauncherState& state);
