// Runs a launcher as its own process and records everything it did that a user
// could see: its exit code, the message box it showed, the game it started.
#pragma once

#include <string>
#include <vector>

#include "platform/windows.h"

struct BoxButton {
    int id;
    std::wstring text;
};

// What a message box of the launcher's process showed before the runner closed it.
struct SeenBox {
    bool seen = false;
    std::wstring windowClass;
    std::wstring caption;
    std::wstring text;                // the static text control's (id 0xFFFF)
    std::vector<BoxButton> buttons;   // every child of class "Button"
};

// What the stand-in game wrote down about its own start.
struct GameStart {
    bool started = false;
    std::wstring module;
    std::wstring currentDir;
    std::wstring commandLine;
    int showCommand = -1;  // -1: no STARTF_USESHOWWINDOW
};

struct LaunchResult {
    bool ran = false;        // the process could be created and ended in time
    DWORD exitCode = 0;
    SeenBox box;
    GameStart game;
};

struct LaunchOptions {
    std::wstring arguments;       // appended to the quoted program path
    WORD showCommand = SW_SHOWNORMAL;
    bool useShowCommand = false;  // pass showCommand through STARTUPINFO
    std::wstring currentDir;      // empty: the runner's own
    bool waitForGame = true;      // after exit code 0, wait for the game's report
};

LaunchResult RunLauncher(const std::wstring& launcher, const LaunchOptions& options = LaunchOptions());

// Reads the box's controls; exposed for tests that inspect boxes of their own.
SeenBox ReadBox(HWND box);
