// Checks shared by the end-to-end tests: what a run must have shown the user.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "harness/launch_run.h"
#include "harness/test_env.h"

// Fails the test unless Wine gave the process the user language the test is
// written for (ctest sets it through LC_ALL).
#define REQUIRE_USER_LANGUAGE(id)                                                              \
    ASSERT_EQ(GetUserDefaultLangID(), (id))                                                    \
        << "user language is " << testing::PrintToString(HexLangId(GetUserDefaultLangID()))   \
        << ", this test is written for " << testing::PrintToString(HexLangId(id))              \
        << "; run it with the LC_ALL its ctest entry sets"

// The five edition folders an installation may hold, as the installer lays them out.
extern const wchar_t* const kEditionFolders[5];

// The launcher exited with 0 and the game was started from `folder` (a full
// path), with that folder as working directory, SW_SHOWNORMAL and no arguments.
testing::AssertionResult StartedFrom(const LaunchResult& run, const std::wstring& folder);

// The launcher exited with -1 and no game was started.
testing::AssertionResult NothingStarted(const LaunchResult& run);

// Everything after the (quoted) program name on a command line, blanks trimmed.
std::wstring ArgumentsOf(const std::wstring& commandLine);
