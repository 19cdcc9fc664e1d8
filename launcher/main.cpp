// Entry point: one pass from the user's language to the exit code.
#include "launcher/edition_table.h"
#include "launcher/game_discovery.h"
#include "launcher/install_dir.h"
#include "launcher/launcher_state.h"
#include "launcher/locale_override.h"
#include "localization/error_box.h"
#include "platform/kernel.h"

// The command line and the show command are deliberately ignored: the game is
// always started the same way.
int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
    LauncherState state;
    state.language = ResolveUserLanguage(kernel::GetUserDefaultLangID());
    ApplyLocaleOverride(state.language);
    GetInstallDirectory(state);
    FindGameExecutable(state);
    if (state.exePath.empty()) {
        ShowLocalizedError(state.language);
        return -1;
    }
    StartGame(state);
    return 0;
}
