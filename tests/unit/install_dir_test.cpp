// The launcher's directory: from the module path, or the current directory.
#include <gtest/gtest.h>

#include <cwchar>
#include <string>

#include "launcher/install_dir.h"

namespace {

void Fill(wchar_t (&dir)[MAX_PATH], const std::wstring& text) {
    wmemset(dir, L'#', MAX_PATH);  // garbage behind the text must not matter
    wcsncpy(dir, text.c_str(), MAX_PATH);
    if (text.size() < MAX_PATH) dir[text.size()] = L'\0';
}

TEST(DropOneTrailingBackslash, RemovesExactlyOne) {
    const struct {
        const wchar_t* before;
        const wchar_t* after;
    } cases[] = {
        {L"C:\\Games\\Tandrel\\", L"C:\\Games\\Tandrel"},
        {L"C:\\Games\\Tandrel", L"C:\\Games\\Tandrel"},
        {L"D:\\", L"D:"},
        {L"C:\\Games\\\\", L"C:\\Games\\"},
        {L"\\", L""},
        {L"", L""},
    };
    for (const auto& c : cases) {
        wchar_t dir[MAX_PATH];
        Fill(dir, c.before);
        DropOneTrailingBackslash(dir);
        EXPECT_STREQ(dir, c.after) << "from \"" << testing::PrintToString(std::wstring(c.before)) << "\"";
    }
}

TEST(SettleInstallDirectory, TakesTheModulesFolder) {
    const struct {
        const wchar_t* module;
        const wchar_t* dir;
    } cases[] = {
        {L"C:\\Games\\Tandrel\\TandrelLauncher.exe", L"C:\\Games\\Tandrel"},
        {L"D:\\TandrelLauncher.exe", L"D:"},  // drive root: the separator comes back when paths are built
        {L"C:\\Spiele\\M\x00FC" L"de Zeit\\TandrelLauncher.exe", L"C:\\Spiele\\M\x00FC" L"de Zeit"},
        {L"\\\\server\\share\\Tandrel\\TandrelLauncher.exe", L"\\\\server\\share\\Tandrel"},
    };
    for (const auto& c : cases) {
        wchar_t dir[MAX_PATH];
        Fill(dir, c.module);
        SettleInstallDirectory(dir, static_cast<DWORD>(wcslen(c.module)));
        EXPECT_STREQ(dir, c.dir) << "module \"" << testing::PrintToString(std::wstring(c.module)) << "\"";
    }
}

TEST(SettleInstallDirectory, CutPathLosesOnlyItsCutComponent) {
    // The platform cut the path to 259 units inside the file name: the folder survives.
    const std::wstring folder = L"C:\\" + std::wstring(240, L'a');
    const std::wstring cutModule = (folder + L"\\TandrelLauncher.exe").substr(0, MAX_PATH - 1);
    wchar_t dir[MAX_PATH];
    Fill(dir, cutModule);
    SettleInstallDirectory(dir, MAX_PATH - 1);
    EXPECT_EQ(std::wstring(dir), folder);

    // Cut with no terminator at all, as older Windows leave it: still a defined string.
    const std::wstring longer = L"C:\\" + std::wstring(300, L'b') + L"\\TandrelLauncher.exe";
    wchar_t unterminated[MAX_PATH];
    wmemcpy(unterminated, longer.c_str(), MAX_PATH);
    SettleInstallDirectory(unterminated, MAX_PATH);
    EXPECT_EQ(std::wstring(unterminated), L"C:");
}

TEST(SettleInstallDirectory, FallsBackToTheCurrentDirectory) {
    wchar_t saved[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, saved);
    const struct {
        const wchar_t* current;
        const wchar_t* dir;
    } cases[] = {
        {L"C:\\windows\\system32", L"C:\\windows\\system32"},
        {L"C:\\", L"C:"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(SetCurrentDirectoryW(c.current)) << testing::PrintToString(std::wstring(c.current));
        wchar_t dir[MAX_PATH];
        Fill(dir, L"C:\\leftover\\from\\a\\failed\\call");
        SettleInstallDirectory(dir, 0);
        EXPECT_STREQ(dir, c.dir) << "current directory \"" << testing::PrintToString(std::wstring(c.current))
                                 << "\"";
    }
    SetCurrentDirectoryW(saved);
}

TEST(GetInstallDirectory, IsTheFolderOfTheRunningProgram) {
    wchar_t module[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, module, MAX_PATH);
    ASSERT_GT(length, 0u);
    const std::wstring expected = std::wstring(module).substr(0, std::wstring(module).find_last_of(L'\\'));

    LauncherState state;
    GetInstallDirectory(state);
    EXPECT_EQ(std::wstring(state.installDir), expected);
}

}  // namespace
