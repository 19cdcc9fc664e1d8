// Reading one string by id in an explicitly named language: through the
// program's own resources (the launcher's table and the fixture block of
// unit/lookup_fixture.rc), and the walk over a block on crafted data.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "harness/test_env.h"
#include "localization/string_lookup.h"
#include "resources/resource_ids.h"

namespace {

const LANGID kEditionLanguages[] = {0x0409, 0x0407, 0x0C0A, 0x040C, 0x0410};
const LANGID kFixtureLanguage = 0x0427;  // Lithuanian: block 4096 only
const wchar_t kStale[] = L"stale text, longer than any string of the table";

std::string Describe(LANGID language) {
    return testing::PrintToString(HexLangId(language));
}

std::string Show(const std::wstring& text) {
    return std::to_string(text.size()) + " units " + testing::PrintToString(text);
}

TEST(LoadStringForLanguage, ReadsTheEditionLanguagesStrings) {
    const std::wstring notFound = L"There might be an installation error.  Unable to locate Tandrel.exe!";
    const struct {
        LANGID language;
        UINT id;
        std::wstring expected;
    } cases[] = {
        // Index 0; the caption and the text are English everywhere.
        {0x0409, IDS_APP_TITLE, L"Tandrel"},
        {0x0407, IDS_APP_TITLE, L"Tandrel"},
        {0x0C0A, IDS_APP_TITLE, L"Tandrel"},
        {0x040C, IDS_APP_TITLE, L"Tandrel"},
        {0x0410, IDS_APP_TITLE, L"Tandrel"},
        {0x0409, IDS_EXE_NOT_FOUND, notFound},
        {0x0407, IDS_EXE_NOT_FOUND, notFound},
        {0x0C0A, IDS_EXE_NOT_FOUND, notFound},
        {0x040C, IDS_EXE_NOT_FOUND, notFound},
        {0x0410, IDS_EXE_NOT_FOUND, notFound},
        // Index 8, after eight entries to step over.
        {0x0409, IDS_BTN_CONTINUE, L"Continue"},
        {0x0407, IDS_BTN_CONTINUE, L"Fortfahren"},
        {0x0C0A, IDS_BTN_CONTINUE, L"Continuar"},
        {0x040C, IDS_BTN_CONTINUE, L"Continuer"},
        {0x0410, IDS_BTN_CONTINUE, L"Continua"},
        // Captions that differ from the English ones.
        {0x0C0A, IDS_BTN_OK, L"Aceptar"},
        {0x0407, IDS_BTN_RETRY, L"Wiederholen"},
        {0x040C, IDS_BTN_RETRY, L"R\u00E9essayer"},
        {0x0410, IDS_BTN_YES, L"S\u00EC"},
    };
    for (const auto& c : cases) {
        std::wstring output = kStale;
        const bool result = LoadStringForLanguage(c.id, c.language, output);
        EXPECT_TRUE(result) << "id " << c.id << " in " << Describe(c.language) << ": got false, expected true";
        EXPECT_EQ(output, c.expected) << "id " << c.id << " in " << Describe(c.language) << ": got " << Show(output)
                                      << ", expected " << Show(c.expected);
    }
}

TEST(LoadStringForLanguage, KeepsTheOutputForEmptyEntries) {
    for (LANGID language : kEditionLanguages) {
        for (UINT id = 137; id <= 143; ++id) {
            std::wstring empty;
            EXPECT_TRUE(LoadStringForLanguage(id, language, empty))
                << "id " << id << " in " << Describe(language) << ": got false, expected true (block found)";
            EXPECT_EQ(empty, L"") << "id " << id << " in " << Describe(language) << ": got " << Show(empty)
                                  << ", expected the empty output kept";
            std::wstring filled = kStale;
            EXPECT_TRUE(LoadStringForLanguage(id, language, filled))
                << "id " << id << " in " << Describe(language) << ": got false, expected true (block found)";
            EXPECT_EQ(filled, kStale) << "id " << id << " in " << Describe(language) << ": got " << Show(filled)
                                      << ", expected the text kept";
        }
    }
}

TEST(LoadStringForLanguage, FailsWhenTheLanguageHasNoSuchBlock) {
    const struct {
        UINT id;
        LANGID language;
        const char* why;
    } cases[] = {
        // Block 9 exists in 24 languages, none of these: no primary-language
        // or English fallback. (Not Norwegian: the platform itself falls back
        // to the neutral-sublanguage block 0x0014.)
        {IDS_APP_TITLE, 0x040A, "Spanish, traditional sort"},
        {IDS_APP_TITLE, 0x0C07, "German (Austria)"},
        {IDS_APP_TITLE, 0x0C09, "English (Australia)"},
        {IDS_BTN_OK, 0x080C, "French (Belgium)"},
        {IDS_BTN_OK, 0x0810, "Italian (Switzerland)"},
        {IDS_BTN_OK, 0x0418, "Romanian"},
        {IDS_APP_TITLE, kFixtureLanguage, "Lithuanian, which has another block"},
        // Blocks the table does not have, in an edition language.
        {0, 0x0409, "id 0, block 1"},
        {15, 0x0407, "id 15, block 1"},
        {127, 0x0409, "id 127, block 8"},
        {144, 0x0409, "id 144, block 10"},
        {65520, 0x0409, "id 65520, block 4096 (only in the fixture language)"},
    };
    for (const auto& c : cases) {
        for (const wchar_t* before : {L"", kStale}) {
            std::wstring output = before;
            EXPECT_FALSE(LoadStringForLanguage(c.id, c.language, output))
                << c.why << ": id " << c.id << " in " << Describe(c.language) << ": got true, expected false";
            EXPECT_EQ(output, before) << c.why << ": got " << Show(output) << ", expected the output kept";
        }
    }
    for (LANGID language : kEditionLanguages) {
        for (UINT id = 0; id < 16; ++id) {
            std::wstring output = kStale;
            EXPECT_FALSE(LoadStringForLanguage(id, language, output))
                << "id " << id << " (block 1) in " << Describe(language) << ": got true, expected false";
            EXPECT_EQ(output, kStale) << "id " << id << " in " << Describe(language) << ": output changed";
        }
    }
}

TEST(LoadStringForLanguage, CopiesEveryUnitOfTheCount) {
    const struct {
        UINT id;
        std::wstring expected;
    } cases[] = {
        {65520, std::wstring(L"A\0B", 3)},
        {65521, std::wstring(L"\0", 1)},
        {65522, std::wstring(L"AB\0", 3)},
        {65523, kStale},  // empty entry: output kept
        // The last entry of the last block, behind entries that hold a 0.
        {65535, L"Last"},
    };
    for (const auto& c : cases) {
        std::wstring output = kStale;
        EXPECT_TRUE(LoadStringForLanguage(c.id, kFixtureLanguage, output))
            << "id " << c.id << ": got false, expected true";
        EXPECT_EQ(output, c.expected) << "id " << c.id << ": got " << Show(output) << ", expected " << Show(c.expected);
    }
}

// Index 0 "abc", 1 empty, 2 "d\0e" (a unit 0 in the middle), 3 to 14 empty,
// 15 "z".
const WCHAR kCraftedBlock[] = {3, L'a', L'b', L'c', 0, 3, L'd', 0, L'e', 0, 0, 0, 0, 0, 0, 0,
                               0, 0, 0, 0, 0, 1, L'z'};
const WCHAR kEmptyBlock[16] = {};

TEST(ReadStringBlockEntry, TakesTheEntryAtTheIndexOrNone) {
    const struct {
        const WCHAR* block;
        UINT index;
        bool found;
        std::wstring expected;
    } cases[] = {
        {kCraftedBlock, 0, true, L"abc"},
        {kCraftedBlock, 1, false, kStale},
        {kCraftedBlock, 2, true, std::wstring(L"d\0e", 3)},
        {kCraftedBlock, 3, false, kStale},
        {kCraftedBlock, 14, false, kStale},
        {kCraftedBlock, 15, true, L"z"},
        {kEmptyBlock, 0, false, kStale},
        {kEmptyBlock, 15, false, kStale},
    };
    for (const auto& c : cases) {
        std::wstring output = kStale;
        const bool found = ReadStringBlockEntry(c.block, c.index, output);
        const char* which = c.block == kEmptyBlock ? "empty block" : "crafted block";
        EXPECT_EQ(found, c.found) << which << ", index " << c.index << ": got " << found << ", expected " << c.found;
        EXPECT_EQ(output, c.expected) << which << ", index " << c.index << ": got " << Show(output) << ", expected "
                                      << Show(c.expected);
    }
}

TEST(ReadStringBlockEntry, ReadsNothingBehindTheWantedEntry) {
    // Each block is cut right after the wanted entry and placed so that it ends
    // at an inaccessible page: a read behind the entry ends the program.
    SYSTEM_INFO system;
    GetSystemInfo(&system);
    const DWORD page = system.dwPageSize;
    BYTE* pages = static_cast<BYTE*>(VirtualAlloc(nullptr, 2 * page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    ASSERT_NE(pages, nullptr);
    DWORD old = 0;
    ASSERT_TRUE(VirtualProtect(pages + page, page, PAGE_NOACCESS, &old));

    const struct {
        UINT index;
        UINT units;  // of kCraftedBlock, up to the end of entry `index`
        std::wstring expected;
    } cases[] = {
        {0, 4, L"abc"},
        {2, 9, std::wstring(L"d\0e", 3)},
        {15, 23, L"z"},
    };
    for (const auto& c : cases) {
        WCHAR* block = reinterpret_cast<WCHAR*>(pages + page) - c.units;
        std::memcpy(block, kCraftedBlock, c.units * sizeof(WCHAR));
        std::wstring output;
        EXPECT_TRUE(ReadStringBlockEntry(block, c.index, output)) << "index " << c.index;
        EXPECT_EQ(output, c.expected) << "index " << c.index << ": got " << Show(output) << ", expected "
                                      << Show(c.expected);
    }
    VirtualFree(pages, 0, MEM_RELEASE);
}

}  // namespace
