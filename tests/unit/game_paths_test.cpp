// The three path forms the launcher composes from its directory.
#include <gtest/gtest.h>

#include "launcher/game_paths.h"

namespace {

TEST(GamePaths, ComposeFromTheInstallDirectory) {
    const struct {
        const wchar_t* installDir;
        const wchar_t* folder;
        const wchar_t* candidate;
        const wchar_t* pattern;
        const wchar_t* workingDir;
    } cases[] = {
        {L"C:\\Games\\Tandrel", L"Tandrel EN", L"C:\\Games\\Tandrel\\Tandrel EN\\Tandrel.exe",
         L"C:\\Games\\Tandrel\\*.*", L"C:\\Games\\Tandrel\\Tandrel EN"},
        // A drive root arrives as "D:" and gets its backslash back.
        {L"D:", L"Tandrel DE", L"D:\\Tandrel DE\\Tandrel.exe", L"D:\\*.*", L"D:\\Tandrel DE"},
        {L"\\\\server\\share", L"x", L"\\\\server\\share\\x\\Tandrel.exe", L"\\\\server\\share\\*.*",
         L"\\\\server\\share\\x"},
        // The current-directory fallback "." keeps paths relative to it.
        {L".", L"Tandrel IT", L".\\Tandrel IT\\Tandrel.exe", L".\\*.*", L".\\Tandrel IT"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ComposeCandidatePath(c.installDir, c.folder), c.candidate);
        EXPECT_EQ(ComposeSearchPattern(c.installDir), c.pattern);
        EXPECT_EQ(ComposeWorkingDirectory(c.installDir, c.folder), c.workingDir);
    }
}

TEST(GamePaths, HaveNoLengthLimitOfTheirOwn) {
    const std::wstring installDir = L"C:\\" + std::wstring(300, L'x');
    const std::wstring folder(250, L'y');
    const std::wstring candidate = ComposeCandidatePath(installDir.c_str(), folder.c_str());
    EXPECT_EQ(candidate, installDir + L"\\" + folder + L"\\Tandrel.exe");
    EXPECT_EQ(ComposeWorkingDirectory(installDir.c_str(), folder), installDir + L"\\" + folder);
}

}  // namespace
