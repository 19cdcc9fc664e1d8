// Where the launcher finds the game, as a user sees it: which copy starts, from
// which working directory, or that none does. English user throughout.
#include <gtest/gtest.h>

#include <vector>

#include "e2e/launch_expectations.h"
#include "harness/install_tree.h"

namespace {

LaunchResult RunIn(const std::wstring& tree, const LaunchOptions& options = LaunchOptions()) {
    const std::wstring launcher = PutLauncher(tree);
    EXPECT_FALSE(launcher.empty()) << "could not copy the launcher into " << testing::PrintToString(tree);
    return RunLauncher(launcher, options);
}

// Sub-folder layouts and the folder whose copy must start ("" = none).
struct LayoutCase {
    const char* what;
    std::vector<std::wstring> gameFolders;   // each gets a Tandrel.exe
    std::vector<std::wstring> emptyFolders;  // created without one
    std::wstring expected;
};

TEST(EnglishUser, StartsTheCopyItFinds) {
    REQUIRE_USER_LANGUAGE(0x0409);
    const LayoutCase cases[] = {
        {"edition folder holds the game", {L"Tandrel EN", L"Tandrel DE", L"Aaa"}, {}, L"Tandrel EN"},
        {"edition folder missing, another edition's holds it", {L"Tandrel FR"}, {}, L"Tandrel FR"},
        {"edition folder empty", {L"Tandrel IT"}, {L"Tandrel EN", L"Tandrel DE"}, L"Tandrel IT"},
        {"a folder of any name", {L"Mods and Extras"}, {L"Tandrel EN", L"Saves"}, L"Mods and Extras"},
        {"folder name with non-ASCII letters", {L"\x0395\x03BB\x03BB\x03B7\x03BD\x03B9\x03BA\x03AC"}, {},
         L"\x0395\x03BB\x03BB\x03B7\x03BD\x03B9\x03BA\x03AC"},
        {"folder name with blanks and punctuation", {L"  Tandrel (copy) & more"}, {},
         L"  Tandrel (copy) & more"},
        {"game only two levels down", {L"Tandrel EN\\bin", L"Tandrel DE\\x64"}, {}, L""},
        {"no sub-folders at all", {}, {}, L""},
        {"only empty sub-folders", {}, {L"Tandrel EN", L"Tandrel DE", L"Other"}, L""},
    };
    for (const LayoutCase& c : cases) {
        const std::wstring tree = NewInstallTree(L"layout");
        for (const std::wstring& folder : c.gameFolders) ASSERT_TRUE(PutGame(tree + L"\\" + folder)) << c.what;
        for (const std::wstring& folder : c.emptyFolders) ASSERT_TRUE(MakeFolders(tree + L"\\" + folder)) << c.what;
        const LaunchResult run = RunIn(tree);
        if (c.expected.empty()) {
            EXPECT_TRUE(NothingStarted(run)) << c.what;
        } else {
            EXPECT_TRUE(StartedFrom(run, tree + L"\\" + c.expected)) << c.what;
        }
        RemoveTree(tree);
    }
}

TEST(EnglishUser, IgnoresAGameBesideTheLauncher) {
    REQUIRE_USER_LANGUAGE(0x0409);
    const std::wstring tree = NewInstallTree(L"beside");
    ASSERT_TRUE(PutCopy(StandInGame(), tree + L"\\Tandrel.exe"));
    ASSERT_TRUE(MakeFolders(tree + L"\\Tandrel EN"));
    EXPECT_TRUE(NothingStarted(RunIn(tree)));
    RemoveTree(tree);
}

TEST(EnglishUser, NeverProbesPlainFiles) {
    REQUIRE_USER_LANGUAGE(0x0409);
    const std::wstring tree = NewInstallTree(L"plain-file");
    // A file named like the edition folder, and one named like the game.
    ASSERT_TRUE(PutFile(tree + L"\\Tandrel EN", "not a folder"));
    ASSERT_TRUE(PutFile(tree + L"\\Tandrel.exe.lnk", "not a folder"));
    ASSERT_TRUE(PutGame(tree + L"\\Zeta"));
    EXPECT_TRUE(StartedFrom(RunIn(tree), tree + L"\\Zeta"));
    RemoveTree(tree);
}

TEST(EnglishUser, ProbesHiddenAndSystemFolders) {
    REQUIRE_USER_LANGUAGE(0x0409);
    const DWORD attributeSets[] = {FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_SYSTEM,
                                   FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY};
    for (DWORD attributes : attributeSets) {
        const std::wstring tree = NewInstallTree(L"hidden");
        const std::wstring folder = tree + L"\\Secret";
        ASSERT_TRUE(PutGame(folder));
        ASSERT_TRUE(SetFileAttributesW(folder.c_str(), attributes));
        EXPECT_TRUE(StartedFrom(RunIn(tree), folder)) << "folder attributes 0x" << std::hex << attributes;
        RemoveTree(tree);
    }
}

// The first folder in the platform's listing order wins, whatever that order is.
TEST(EnglishUser, TakesTheFirstHolderInListingOrder) {
    REQUIRE_USER_LANGUAGE(0x0409);
    const std::wstring tree = NewInstallTree(L"several");
    const wchar_t* folders[] = {L"Omega", L"Alpha", L"Tandrel DE", L"Mid", L"Zulu", L"Beta"};
    for (const wchar_t* folder : folders) ASSERT_TRUE(PutGame(tree + L"\\" + folder));
    ASSERT_TRUE(PutFile(tree + L"\\readme.txt", "text"));

    std::wstring firstListed;
    WIN32_FIND_DATAW entry;
    const HANDLE search = FindFirstFileW((tree + L"\\*.*").c_str(), &entry);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    do {
        const std::wstring name = entry.cFileName;
        if (name != L"." && name != L".." && (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            firstListed = name;
            break;
        }
    } while (FindNextFileW(search, &entry));
    FindClose(search);

    EXPECT_TRUE(StartedFrom(RunIn(tree), tree + L"\\" + firstListed)) << "first folder listed: "
                                                                      << testing::PrintToString(firstListed);
    RemoveTree(tree);
}

TEST(EnglishUser, HandsADirectoryNamedLikeTheGameToTheShell) {
    REQUIRE_USER_LANGUAGE(0x0409);
    const std::wstring tree = NewInstallTree(L"dir-named-game");
    ASSERT_TRUE(MakeFolders(tree + L"\\Tandrel EN\\Tandrel.exe"));
    ASSERT_TRUE(PutGame(tree + L"\\Other"));
    LaunchOptions options;
    options.waitForGame = false;
    const LaunchResult run = RunIn(tree, options);
    ASSERT_TRUE(run.ran);
    EXPECT_EQ(run.exitCode, 0u) << "the directory passes the existence test and the run ends with 0";
    EXPECT_FALSE(run.game.started) << "the scan must not run after the edition folder's hit";
    RemoveTree(tree);
}

TEST(EnglishUser, ReportsSuccessWhenTheShellCannotStartTheGame) {
    REQUIRE_USER_LANGUAGE(0x0409);
    const std::wstring tree = NewInstallTree(L"unstartable");
    ASSERT_TRUE(PutFile(tree + L"\\Tandrel EN\\Tandrel.exe", "this is no program"));
    LaunchOptions options;
    options.waitForGame = false;
    const LaunchResult run = RunIn(tree, options);
    ASSERT_TRUE(run.ran);
    EXPECT_EQ(run.exitCode, 0u);
    RemoveTree(tree);
}

TEST(EnglishUser, IgnoresItsCommandLineAndShowCommand) {
    REQUIRE_USER_LANGUAGE(0x0409);
    const struct {
        const wchar_t* arguments;
        WORD show;
    } cases[] = {
        {L"-lang de_DE \"Tandrel FR\"", SW_HIDE},
        {L"/?", SW_SHOWMINNOACTIVE},
        {L"", SW_MINIMIZE},
        {L"--windowed", SW_SHOWMAXIMIZED},
    };
    for (const auto& c : cases) {
        const std::wstring tree = NewInstallTree(L"arguments");
        ASSERT_TRUE(PutGame(tree + L"\\Tandrel EN"));
        ASSERT_TRUE(PutGame(tree + L"\\Tandrel FR"));
        LaunchOptions options;
        options.arguments = c.arguments;
        options.useShowCommand = true;
        options.showCommand = c.show;
        EXPECT_TRUE(StartedFrom(RunIn(tree, options), tree + L"\\Tandrel EN"))
            << "arguments " << testing::PrintToString(std::wstring(c.arguments)) << ", show command " << c.show;
        RemoveTree(tree);
    }
}

TEST(EnglishUser, WorksFromPathsWithBlanksAndNonAsciiLetters) {
    REQUIRE_USER_LANGUAGE(0x0409);
    const wchar_t* installPaths[] = {
        L"Program Files (x86)\\Kestrow Games\\Tandrel",
        L"Spiele f\x00FCr J\x00E4ger\\\x00C9" L"dition sp\x00E9" L"ciale",
        L"\x6E38\x620F\\\x30BF\x30F3\x30C9\x30EC\x30EB",
        L"\x041A\x0438\x0440\x0438\x043B\x043B\x0438\x0446\x0430 & Co",
    };
    for (const wchar_t* path : installPaths) {
        const std::wstring tree = NewInstallTree(L"names");
        const std::wstring installDir = tree + L"\\" + path;
        ASSERT_TRUE(PutGame(installDir + L"\\Tandrel EN")) << testing::PrintToString(installDir);
        EXPECT_TRUE(StartedFrom(RunIn(installDir), installDir + L"\\Tandrel EN"))
            << "edition probe under " << testing::PrintToString(installDir);

        RemoveTree(installDir + L"\\Tandrel EN");
        ASSERT_TRUE(PutGame(installDir + L"\\N\x00E9" L"o Folder"));
        EXPECT_TRUE(StartedFrom(RunIn(installDir), installDir + L"\\N\x00E9" L"o Folder"))
            << "scan under " << testing::PrintToString(installDir);
        RemoveTree(tree);
    }
}

// T: is mapped by the suite's prefix setup onto an empty folder of the build tree.
TEST(EnglishUser, WorksFromADriveRoot) {
    REQUIRE_USER_LANGUAGE(0x0409);
    const std::wstring root = L"T:";
    ASSERT_NE(GetFileAttributesW(L"T:\\"), INVALID_FILE_ATTRIBUTES) << "drive T: is not mapped in this prefix";
    RemoveTree(root + L"\\Tandrel EN");
    RemoveTree(root + L"\\Elsewhere");

    ASSERT_TRUE(PutGame(root + L"\\Tandrel EN"));
    EXPECT_TRUE(StartedFrom(RunIn(root), root + L"\\Tandrel EN")) << "edition probe at the drive root";
    RemoveTree(root + L"\\Tandrel EN");

    ASSERT_TRUE(PutGame(root + L"\\Elsewhere"));
    EXPECT_TRUE(StartedFrom(RunIn(root), root + L"\\Elsewhere")) << "scan at the drive root";
    RemoveTree(root + L"\\Elsewhere");
    DeleteFileW(L"T:\\TandrelLauncher.exe");
}

}  // namespace
