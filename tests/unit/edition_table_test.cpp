// The choice of edition from the user's LANGID, and the locale-code comparison.
#include <gtest/gtest.h>

#include "harness/test_env.h"
#include "launcher/edition_table.h"

namespace {

struct LanguageCase {
    LANGID user;
    LANGID expected;
    const char* why;
};

TEST(ResolveUserLanguage, MapsEveryUserLanguageOntoAnEdition) {
    const LanguageCase cases[] = {
        {0x0409, 0x0409, "English (US), exact"},
        {0x0407, 0x0407, "German, exact"},
        {0x0C0A, 0x0C0A, "Spanish modern sort, exact"},
        {0x040C, 0x040C, "French, exact"},
        {0x0410, 0x0410, "Italian, exact"},
        {0x0809, 0x0409, "English (UK), primary language"},
        {0x0C09, 0x0409, "English (Australia), primary language"},
        {0x1009, 0x0409, "English (Canada), primary language"},
        {0x040A, 0x0C0A, "Spanish traditional sort, primary language"},
        {0x080A, 0x0C0A, "Spanish (Mexico), primary language"},
        {0x2C0A, 0x0C0A, "Spanish (Argentina), primary language"},
        {0x0807, 0x0407, "German (Switzerland), primary language"},
        {0x0C07, 0x0407, "German (Austria), primary language"},
        {0x080C, 0x040C, "French (Belgium), primary language"},
        {0x0C0C, 0x040C, "French (Canada), primary language"},
        {0x100C, 0x040C, "French (Switzerland), primary language"},
        {0x0810, 0x0410, "Italian (Switzerland), primary language"},
        {0x0010, 0x0410, "Italian, neutral sublanguage"},
        {0x0411, 0x0409, "Japanese, no edition"},
        {0x0416, 0x0409, "Portuguese (Brazil), no edition"},
        {0x0419, 0x0409, "Russian, no edition"},
        {0x0804, 0x0409, "Chinese (PRC), no edition"},
        {0x0000, 0x0409, "neutral"},
        {0x0400, 0x0409, "process default"},
        {0x0800, 0x0409, "system default"},
        {0xFFFF, 0x0409, "all bits set"},
        // Same low 10 bits as German but a sublanguage no Windows defines.
        {0xFC07, 0x0407, "German primary, odd sublanguage"},
        // 0x0409 and 0x0809 differ only above bit 9: never confuse them with 0x0009.
        {0x0009, 0x0409, "English, neutral sublanguage"},
    };
    for (const LanguageCase& c : cases) {
        const LANGID got = ResolveUserLanguage(c.user);
        EXPECT_EQ(got, c.expected) << "user " << c.why << " (" << testing::PrintToString(HexLangId(c.user))
                                   << "): got " << testing::PrintToString(HexLangId(got)) << ", expected "
                                   << testing::PrintToString(HexLangId(c.expected));
    }
}

TEST(LookupEditionFolder, NamesTheFolderOfEachEdition) {
    const struct {
        LANGID edition;
        const wchar_t* folder;
    } cases[] = {
        {0x0409, L"Tandrel EN"}, {0x0407, L"Tandrel DE"}, {0x0C0A, L"Tandrel ES"},
        {0x040C, L"Tandrel FR"}, {0x0410, L"Tandrel IT"},
        // Not an edition: never a null pointer, the default edition's folder.
        {0x040A, L"Tandrel EN"}, {0x0000, L"Tandrel EN"},
    };
    for (const auto& c : cases) {
        const wchar_t* got = LookupEditionFolder(c.edition);
        ASSERT_NE(got, nullptr) << "edition " << testing::PrintToString(HexLangId(c.edition));
        EXPECT_STREQ(got, c.folder) << "edition " << testing::PrintToString(HexLangId(c.edition));
    }
}

TEST(EqualsIgnoringAsciiCase, FoldsOnlyAsciiCapitals) {
    const struct {
        const wchar_t* value;
        const wchar_t* code;
        bool equal;
    } cases[] = {
        {L"en_US", L"en_US", true},
        {L"EN_us", L"en_US", true},
        {L"eN_uS", L"en_US", true},
        {L"FR_fr", L"fr_FR", true},
        {L"en-US", L"en_US", false},   // hyphen for the underscore
        {L"en_US ", L"en_US", false},  // trailing blank
        {L" en_US", L"en_US", false},
        {L"en", L"en_US", false},
        {L"en_US.UTF-8", L"en_US", false},
        {L"en_US.1252", L"en_US", false},
        {L"", L"en_US", false},
        {L"", L"", true},
        // Only A-Z fold: the Turkish dotted capital I and the fullwidth E do not.
        {L"\x0130t_IT", L"it_IT", false},
        {L"\xFF25n_US", L"en_US", false},
        // '@' and '[' sit just outside A-Z; folding them would make them '`' and '{'.
        {L"@", L"`", false},
        {L"[", L"{", false},
        // A capital outside ASCII must not fold onto its small letter either.
        {L"\x00C9", L"\x00E9", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EqualsIgnoringAsciiCase(c.value, c.code), c.equal)
            << "\"" << testing::PrintToString(std::wstring(c.value)) << "\" vs \""
            << testing::PrintToString(std::wstring(c.code)) << "\": expected " << (c.equal ? "equal" : "unequal");
    }
}

TEST(MatchLocaleCode, SelectsTheEditionOrLeavesTheLanguageAlone) {
    const struct {
        std::wstring value;
        LANGID expected;
    } cases[] = {
        {L"en_US", 0x0409},
        {L"de_DE", 0x0407},
        {L"ES_es", 0x0C0A},
        {L"fr_fr", 0x040C},
        {L"IT_IT", 0x0410},
        {L"fr-FR", 0x0407},
        {L"de", 0x0407},
        {L"es_MX", 0x0407},
        {std::wstring(L"en_US\0junk", 10), 0x0409},  // a terminator ends the value
        {std::wstring(L"en_\0US", 6), 0x0407},       // an embedded NUL cuts it short
    };
    for (const auto& c : cases) {
        LANGID language = 0x0407;
        MatchLocaleCode(c.value.c_str(), language);
        EXPECT_EQ(language, c.expected) << "value " << testing::PrintToString(c.value) << ": got "
                                        << testing::PrintToString(HexLangId(language));
    }
}

}  // namespace
