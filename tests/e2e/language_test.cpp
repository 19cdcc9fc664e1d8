// Which edition a user gets: from the user's language, or from the installer's
// "Locale" value. Every edition folder holds the game, so the copy that starts
// names the edition chosen. Each suite runs as the user its name says.
#include <gtest/gtest.h>

#include "e2e/launch_expectations.h"
#include "harness/install_tree.h"
#include "harness/registry_value.h"

namespace {

// Runs a launcher in a tree where every edition folder holds the game and checks
// that the copy in `expectedFolder` started. The registry value is set first
// (an empty code: no value at all) and removed afterwards.
void ExpectEdition(const std::wstring& localeValue, const std::wstring& expectedFolder) {
    const std::wstring tree = NewInstallTree(L"editions");
    for (const wchar_t* folder : kEditionFolders) ASSERT_TRUE(PutGame(tree + L"\\" + folder));
    if (localeValue.empty()) {
        ASSERT_TRUE(DeleteLocaleKey());
    } else {
        ASSERT_TRUE(SetLocaleString(localeValue));
    }
    const std::wstring launcher = PutLauncher(tree);
    ASSERT_FALSE(launcher.empty());
    EXPECT_TRUE(StartedFrom(RunLauncher(launcher), tree + L"\\" + expectedFolder))
        << "Locale value " << testing::PrintToString(localeValue);
    DeleteLocaleKey();
    RemoveTree(tree);
}

struct OverrideCase {
    const wchar_t* value;
    const wchar_t* folder;
};

void ExpectOverrides(const OverrideCase* cases, size_t count) {
    for (size_t i = 0; i < count; ++i) ExpectEdition(cases[i].value, cases[i].folder);
}

TEST(EnglishUser, GetsTheEnglishEditionUnlessTheRegistrySaysOtherwise) {
    REQUIRE_USER_LANGUAGE(0x0409);
    const OverrideCase cases[] = {
        {L"", L"Tandrel EN"},         {L"it_IT", L"Tandrel IT"}, {L"De_de", L"Tandrel DE"},
        {L"en_GB", L"Tandrel EN"},    {L"fr", L"Tandrel EN"},    {L"es_ES.UTF-8", L"Tandrel EN"},
    };
    ExpectOverrides(cases, sizeof cases / sizeof cases[0]);
}

TEST(GermanUser, GetsTheGermanEditionUnlessTheRegistrySaysOtherwise) {
    REQUIRE_USER_LANGUAGE(0x0407);
    const OverrideCase cases[] = {
        {L"", L"Tandrel DE"},      {L"es_ES", L"Tandrel ES"}, {L"FR_fr", L"Tandrel FR"},
        {L"fr-FR", L"Tandrel DE"}, {L"en_US", L"Tandrel EN"}, {L"de_AT", L"Tandrel DE"},
    };
    ExpectOverrides(cases, sizeof cases / sizeof cases[0]);
}

TEST(MexicanSpanishUser, GetsTheSpanishEditionByPrimaryLanguage) {
    REQUIRE_USER_LANGUAGE(0x080A);
    ExpectEdition(L"", L"Tandrel ES");
}

TEST(CanadianFrenchUser, GetsTheFrenchEditionByPrimaryLanguage) {
    REQUIRE_USER_LANGUAGE(0x0C0C);
    ExpectEdition(L"", L"Tandrel FR");
    ExpectEdition(L"it_it", L"Tandrel IT");
}

TEST(ItalianUser, GetsTheItalianEdition) {
    REQUIRE_USER_LANGUAGE(0x0410);
    ExpectEdition(L"", L"Tandrel IT");
}

TEST(JapaneseUser, GetsTheEnglishEdition) {
    REQUIRE_USER_LANGUAGE(0x0411);
    ExpectEdition(L"", L"Tandrel EN");
    ExpectEdition(L"ja_JP", L"Tandrel EN");
}

TEST(BrazilianPortugueseUser, GetsTheEnglishEdition) {
    REQUIRE_USER_LANGUAGE(0x0416);
    ExpectEdition(L"", L"Tandrel EN");
}

}  // namespace
