// The one box a user sees when no game can be found, in the edition's language.
// Wine captions a box's buttons by itself in the language of LC_ALL ("Aceptar"
// for es_ES, "Ok" for it_IT, "OK" for the others here), so a case proves the
// launcher's own caption only where that differs from Wine's; those are the
// Italian user, and the overrides to Spanish and to Italian.
#include <gtest/gtest.h>

#include "e2e/launch_expectations.h"
#include "harness/install_tree.h"
#include "harness/registry_value.h"

namespace {

const wchar_t kNotFoundText[] = L"There might be an installation error.  Unable to locate Tandrel.exe!";

std::string Show(const std::wstring& text) { return testing::PrintToString(text); }

testing::AssertionResult ShowedErrorBox(const SeenBox& box, const std::wstring& okCaption) {
    if (!box.seen) return testing::AssertionFailure() << "no box, expected the error box";
    if (box.windowClass != L"#32770") {
        return testing::AssertionFailure() << "window class " << Show(box.windowClass) << ", expected \"#32770\"";
    }
    if (box.caption != L"Tandrel") {
        return testing::AssertionFailure() << "caption " << Show(box.caption) << ", expected \"Tandrel\"";
    }
    if (box.text != kNotFoundText) {
        return testing::AssertionFailure() << "text " << Show(box.text) << ", expected " << Show(kNotFoundText);
    }
    if (box.buttons.size() != 1) return testing::AssertionFailure() << box.buttons.size() << " buttons, expected 1";
    if (box.buttons[0].id != IDOK || box.buttons[0].text != okCaption) {
        return testing::AssertionFailure() << "button " << box.buttons[0].id << " " << Show(box.buttons[0].text)
                                           << ", expected IDOK (1) " << Show(okCaption);
    }
    return testing::AssertionSuccess();
}

struct BoxCase {
    const wchar_t* localeValue;  // the installer's "Locale" value; empty: none
    const wchar_t* okCaption;
};

// Runs the launcher where no edition folder holds the game, once per case.
template <size_t N>
void ExpectErrorBoxes(const BoxCase (&cases)[N]) {
    for (const BoxCase& c : cases) {
        const std::wstring value = c.localeValue;
        const std::wstring tree = NewInstallTree(L"not-found");
        for (const wchar_t* folder : kEditionFolders) {
            ASSERT_TRUE(MakeFolders(tree + L"\\" + folder));
        }
        ASSERT_TRUE(value.empty() ? DeleteLocaleKey() : SetLocaleString(value));
        const std::wstring launcher = PutLauncher(tree);
        ASSERT_FALSE(launcher.empty());
        const LaunchResult run = RunLauncher(launcher);
        EXPECT_TRUE(NothingStarted(run)) << "Locale value " << Show(value);
        EXPECT_TRUE(ShowedErrorBox(run.box, c.okCaption)) << "Locale value " << Show(value);
        DeleteLocaleKey();
        RemoveTree(tree);
    }
}

TEST(EnglishUser, SeesTheErrorBoxInEnglish) {
    REQUIRE_USER_LANGUAGE(0x0409);
    const BoxCase cases[] = {{L"", L"OK"}};
    ExpectErrorBoxes(cases);
}

TEST(GermanUser, SeesTheErrorBoxInGermanUnlessTheRegistrySaysOtherwise) {
    REQUIRE_USER_LANGUAGE(0x0407);
    const BoxCase cases[] = {{L"", L"OK"}, {L"es_ES", L"Aceptar"}};
    ExpectErrorBoxes(cases);
}

TEST(SpanishUser, SeesTheErrorBoxInSpanishUnlessTheRegistrySaysOtherwise) {
    REQUIRE_USER_LANGUAGE(0x0C0A);
    const BoxCase cases[] = {{L"", L"Aceptar"}, {L"it_IT", L"OK"}};
    ExpectErrorBoxes(cases);
}

TEST(FrenchUser, SeesTheErrorBoxInFrench) {
    REQUIRE_USER_LANGUAGE(0x040C);
    const BoxCase cases[] = {{L"", L"OK"}};
    ExpectErrorBoxes(cases);
}

TEST(ItalianUser, SeesTheErrorBoxInItalianNotInWines) {
    REQUIRE_USER_LANGUAGE(0x0410);
    const BoxCase cases[] = {{L"", L"OK"}};
    ExpectErrorBoxes(cases);
}

TEST(MexicanSpanishUser, SeesTheErrorBoxInSpanish) {
    REQUIRE_USER_LANGUAGE(0x080A);
    const BoxCase cases[] = {{L"", L"Aceptar"}};
    ExpectErrorBoxes(cases);
}

TEST(CanadianFrenchUser, SeesTheErrorBoxInFrench) {
    REQUIRE_USER_LANGUAGE(0x0C0C);
    const BoxCase cases[] = {{L"", L"OK"}};
    ExpectErrorBoxes(cases);
}

TEST(JapaneseUser, SeesTheErrorBoxInEnglish) {
    REQUIRE_USER_LANGUAGE(0x0411);
    const BoxCase cases[] = {{L"", L"OK"}};
    ExpectErrorBoxes(cases);
}

TEST(BrazilianPortugueseUser, SeesTheErrorBoxInEnglish) {
    REQUIRE_USER_LANGUAGE(0x0416);
    const BoxCase cases[] = {{L"", L"OK"}};
    ExpectErrorBoxes(cases);
}

}  // namespace
