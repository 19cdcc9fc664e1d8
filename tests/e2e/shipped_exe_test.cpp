// The shipped 32-bit launcher itself, run under 32-bit Wine: a few runs only,
// since every 32-bit start goes through qemu. TANDREL_LAUNCHER names the exe.
#include <gtest/gtest.h>

#include "e2e/launch_expectations.h"
#include "harness/install_tree.h"
#include "harness/registry_value.h"

namespace {

std::wstring TreeWithEveryEdition() {
    const std::wstring tree = NewInstallTree(L"shipped");
    for (const wchar_t* folder : kEditionFolders) PutGame(tree + L"\\" + folder);
    return tree;
}

TEST(ShippedExeEnglishUser, StartsTheGameFromTheEditionFolder) {
    REQUIRE_USER_LANGUAGE(0x0409);
    ASSERT_TRUE(DeleteLocaleKey(KEY_WOW64_32KEY) && DeleteLocaleKey(KEY_WOW64_64KEY));
    const std::wstring tree = TreeWithEveryEdition();
    EXPECT_TRUE(StartedFrom(RunLauncher(PutLauncher(tree)), tree + L"\\Tandrel EN"));
    RemoveTree(tree);
}

// A 32-bit launcher on 64-bit Windows reads the 32-bit registry view only.
TEST(ShippedExeEnglishUser, ReadsTheLocaleFromThe32BitView) {
    REQUIRE_USER_LANGUAGE(0x0409);
    const std::wstring tree = TreeWithEveryEdition();
    const std::wstring launcher = PutLauncher(tree);

    ASSERT_TRUE(DeleteLocaleKey(KEY_WOW64_32KEY));
    ASSERT_TRUE(SetLocaleString(L"fr_FR", KEY_WOW64_64KEY));
    EXPECT_TRUE(StartedFrom(RunLauncher(launcher), tree + L"\\Tandrel EN"))
        << "a value in the 64-bit view only must be ignored";

    ASSERT_TRUE(SetLocaleString(L"it_IT", KEY_WOW64_32KEY));
    EXPECT_TRUE(StartedFrom(RunLauncher(launcher), tree + L"\\Tandrel IT"))
        << "the value in the 32-bit view must be used (64-bit view says fr_FR)";

    DeleteLocaleKey(KEY_WOW64_32KEY);
    DeleteLocaleKey(KEY_WOW64_64KEY);
    RemoveTree(tree);
}

// Wine's own German caption is "OK": only our relabelling makes it "Aceptar".
TEST(ShippedExeGermanUser, ShowsTheSpanishBoxTheRegistryAsksFor) {
    REQUIRE_USER_LANGUAGE(0x0407);
    ASSERT_TRUE(SetLocaleString(L"es_ES", KEY_WOW64_32KEY));
    const std::wstring tree = NewInstallTree(L"shipped-missing");
    ASSERT_TRUE(MakeFolders(tree + L"\\Tandrel ES"));
    const LaunchResult run = RunLauncher(PutLauncher(tree));
    EXPECT_TRUE(NothingStarted(run));
    ASSERT_TRUE(run.box.seen) << "no message box appeared";
    EXPECT_EQ(run.box.caption, L"Tandrel");
    EXPECT_EQ(run.box.text, L"There might be an installation error.  Unable to locate Tandrel.exe!");
    ASSERT_EQ(run.box.buttons.size(), 1u);
    EXPECT_EQ(run.box.buttons[0].id, IDOK);
    EXPECT_EQ(run.box.buttons[0].text, L"Aceptar");
    DeleteLocaleKey(KEY_WOW64_32KEY);
    RemoveTree(tree);
}

}  // namespace
