// The string table as the running program carries it: block 9 in 24 languages,
// byte for byte. The expected texts are typed here with \u escapes, apart from
// the resource script, so that a wrong source encoding there cannot hide.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "harness/test_env.h"
#include "resources/resource_ids.h"

namespace {

const WORD kBlock = 9;  // ids 128 to 143
const int kEntries = 16;
const wchar_t kAppTitle[] = L"Tandrel";
const wchar_t kExeNotFound[] = L"There might be an installation error.  Unable to locate Tandrel.exe!";

struct BlockCase {
    LANGID language;
    const char* name;
    const wchar_t* captions[7];  // OK, Cancel, Yes, No, Retry, Ignore, Continue
};

const BlockCase kBlocks[] = {
    {0x0014, "Norwegian, neutral",
     {L"OK", L"Avbryt", L"Ja", L"Nei", L"Pr\u00F8v p\u00E5 nytt", L"Ignorer", L"Fortsett"}},
    {0x0404, "Chinese, traditional",
     {L"\u78BA\u5B9A", L"\u53D6\u6D88", L"\u662F", L"\u5426", L"\u91CD\u8A66", L"\u5FFD\u7565", L"\u7E7C\u7E8C"}},
    {0x0405, "Czech", {L"OK", L"Storno", L"Ano", L"Ne", L"Opakovat", L"Ignorovat", L"Pokra\u010Dovat"}},
    {0x0406, "Danish", {L"OK", L"Annuller", L"Ja", L"Nej", L"Pr\u00F8v igen", L"Ignorer", L"Forts\u00E6t"}},
    {0x0407, "German", {L"OK", L"Abbrechen", L"Ja", L"Nein", L"Wiederholen", L"Ignorieren", L"Fortfahren"}},
    {0x0408, "Greek",
     {L"OK", L"\u0386\u03BA\u03C5\u03C1\u03BF", L"\u039D\u03B1\u03B9", L"\u038C\u03C7\u03B9",
      L"\u0395\u03C0\u03B1\u03BD\u03AC\u03BB\u03B7\u03C8\u03B7", L"\u03A0\u03B1\u03C1\u03AC\u03B2\u03BB\u03B5\u03C8\u03B7",
      L"\u03A3\u03C5\u03BD\u03AD\u03C7\u03B5\u03B9\u03B1"}},
    {0x0409, "English (US)", {L"OK", L"Cancel", L"Yes", L"No", L"Retry", L"Ignore", L"Continue"}},
    {0x040B, "Finnish", {L"OK", L"Peruuta", L"Kyll\u00E4", L"Ei", L"Yrit\u00E4 uudelleen", L"Ohita", L"Jatka"}},
    {0x040C, "French", {L"OK", L"Annuler", L"Oui", L"Non", L"R\u00E9essayer", L"Ignorer", L"Continuer"}},
    {0x040E, "Hungarian",
     {L"OK", L"M\u00E9gse", L"Igen", L"Nem", L"\u00DAjra", L"Mell\u0151z\u00E9s", L"Folytat\u00E1s"}},
    {0x0410, "Italian", {L"OK", L"Annulla", L"S\u00EC", L"No", L"Riprova", L"Ignora", L"Continua"}},
    {0x0411, "Japanese",
     {L"OK", L"\u30AD\u30E3\u30F3\u30BB\u30EB", L"\u306F\u3044", L"\u3044\u3044\u3048", L"\u518D\u8A66\u884C",
      L"\u7121\u8996", L"\u7D9A\u884C"}},
    {0x0412, "Korean",
     {L"OK", L"\uCDE8\uC18C", L"\uC608", L"\uC544\uB2C8\uC694", L"\uB2E4\uC2DC \uC2DC\uB3C4", L"\uBB34\uC2DC",
      L"\uACC4\uC18D\uD558\uAE30"}},
    {0x0413, "Dutch", {L"OK", L"Annuleren", L"Ja", L"Nee", L"Opnieuw", L"Negeren", L"Doorgaan"}},
    {0x0415, "Polish", {L"OK", L"Anuluj", L"Tak", L"Nie", L"Pon\u00F3w pr\u00F3b\u0119", L"Ignoruj", L"Dalej"}},
    {0x0416, "Portuguese (Brazil)",
     {L"OK", L"Cancelar", L"Sim", L"N\u00E3o", L"Tentar Novamente", L"Ignorar", L"Continuar"}},
    {0x0419, "Russian",
     {L"OK", L"\u041E\u0442\u043C\u0435\u043D\u0430", L"\u0414\u0430", L"\u041D\u0435\u0442",
      L"\u041F\u043E\u0432\u0442\u043E\u0440\u0438\u0442\u044C",
      L"\u041F\u0440\u043E\u043F\u0443\u0441\u0442\u0438\u0442\u044C",
      L"\u041F\u0440\u043E\u0434\u043E\u043B\u0436\u0438\u0442\u044C"}},
    {0x041D, "Swedish", {L"OK", L"Avbryt", L"Ja", L"Nej", L"F\u00F6rs\u00F6k igen", L"Ignorera", L"Forts\u00E4tt"}},
    {0x041E, "Thai",
     {L"\u0E15\u0E01\u0E25\u0E07", L"\u0E22\u0E01\u0E40\u0E25\u0E34\u0E01", L"\u0E43\u0E0A\u0E48",
      L"\u0E44\u0E21\u0E48", L"\u0E25\u0E2D\u0E07\u0E43\u0E2B\u0E21\u0E48", L"\u0E25\u0E30\u0E40\u0E27\u0E49\u0E19",
      L"\u0E14\u0E33\u0E40\u0E19\u0E34\u0E19\u0E01\u0E32\u0E23\u0E15\u0E48\u0E2D"}},
    {0x0804, "Chinese, simplified",
     {L"\u786E\u5B9A", L"\u53D6\u6D88", L"\u662F", L"\u5426", L"\u91CD\u8BD5", L"\u5FFD\u7565", L"\u7EE7\u7EED"}},
    {0x0809, "English (UK)", {L"OK", L"Cancel", L"Yes", L"No", L"Retry", L"Ignore", L"Continue"}},
    {0x080A, "Spanish (Mexico)",
     {L"Aceptar", L"Cancelar", L"S\u00ED", L"No", L"Reintentar", L"Ignorar", L"Continuar"}},
    {0x0816, "Portuguese (Portugal)", {L"OK", L"Cancelar", L"Sim", L"N\u00E3o", L"Repetir", L"Ignorar", L"Continuar"}},
    {0x0C0A, "Spanish (modern sort)",
     {L"Aceptar", L"Cancelar", L"S\u00ED", L"No", L"Reintentar", L"Ignorar", L"Continuar"}},
};

std::string Describe(LANGID language) {
    return testing::PrintToString(HexLangId(language));
}

// Block 9 of `language` as stored: its size and its sixteen entries, or what
// is wrong with it.
struct StoredBlock {
    bool found = false;
    DWORD size = 0;
    std::vector<std::wstring> entries;
    std::string fault;
};

StoredBlock ReadStoredBlock(LANGID language) {
    StoredBlock block;
    const HMODULE module = GetModuleHandleW(nullptr);
    const HRSRC resource = FindResourceExW(module, RT_STRING, MAKEINTRESOURCEW(kBlock), language);
    if (resource == nullptr) return block;
    const BYTE* bytes = static_cast<const BYTE*>(LoadResource(module, resource));
    if (bytes == nullptr) return block;
    block.found = true;
    block.size = SizeofResource(module, resource);
    DWORD at = 0;
    for (int i = 0; i < kEntries; ++i) {
        WORD count = 0;
        if (at + 2 > block.size) {
            block.fault = "entry " + std::to_string(i) + " starts past the end";
            return block;
        }
        std::memcpy(&count, bytes + at, 2);
        at += 2;
        if (at + 2u * count > block.size) {
            block.fault = "entry " + std::to_string(i) + " (count " + std::to_string(count) + ") runs past the end";
            return block;
        }
        std::wstring text(count, L'\0');
        std::memcpy(&text[0], bytes + at, 2u * count);
        block.entries.push_back(text);
        at += 2u * count;
    }
    if (at != block.size) block.fault = std::to_string(block.size - at) + " bytes after the sixteenth entry";
    return block;
}

std::vector<std::wstring> ExpectedEntries(const BlockCase& c) {
    std::vector<std::wstring> entries(kEntries);
    entries[IDS_APP_TITLE - 128] = kAppTitle;
    entries[IDS_EXE_NOT_FOUND - 128] = kExeNotFound;
    for (int i = 0; i < 7; ++i) entries[IDS_BTN_OK - 128 + i] = c.captions[i];
    return entries;  // 137 to 143 stay empty
}

TEST(StringTable, EachLanguageBlockHoldsExactlyItsTexts) {
    for (const BlockCase& c : kBlocks) {
        const StoredBlock got = ReadStoredBlock(c.language);
        const std::vector<std::wstring> expected = ExpectedEntries(c);
        if (!got.found) {
            ADD_FAILURE() << "block 9 of " << Describe(c.language) << " (" << c.name << "): got none, expected one";
            continue;
        }
        EXPECT_EQ(got.fault, "") << "block 9 of " << Describe(c.language) << " (" << c.name << ")";
        DWORD units = 0;
        for (const std::wstring& text : expected) units += static_cast<DWORD>(text.size());
        EXPECT_EQ(got.size, 32 + 2 * units) << "size of block 9 of " << Describe(c.language) << " (" << c.name
                                            << "): got " << got.size << " bytes, expected 32 + 2 x " << units;
        for (size_t i = 0; i < got.entries.size(); ++i) {
            EXPECT_EQ(got.entries[i], expected[i])
                << Describe(c.language) << " (" << c.name << "), id " << 128 + i << ": got "
                << got.entries[i].size() << " units " << testing::PrintToString(got.entries[i]) << ", expected "
                << expected[i].size() << " units " << testing::PrintToString(expected[i]);
        }
    }
}

BOOL CALLBACK CollectLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR param) {
    reinterpret_cast<std::set<LANGID>*>(param)->insert(language);
    return TRUE;
}

BOOL CALLBACK CollectName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR param) {
    // 0 stands for a block with a string name, which a string table never has.
    const WORD number = IS_INTRESOURCE(name) ? static_cast<WORD>(reinterpret_cast<ULONG_PTR>(name)) : 0;
    reinterpret_cast<std::vector<WORD>*>(param)->push_back(number);
    return TRUE;
}

// Exactly the languages stored, with none of the fallbacks that
// FindResourceExW may apply.
std::set<LANGID> StoredLanguages(const wchar_t* name) {
    std::set<LANGID> languages;
    EnumResourceLanguagesW(GetModuleHandleW(nullptr), RT_STRING, name, CollectLanguage,
                           reinterpret_cast<LONG_PTR>(&languages));
    return languages;
}

std::set<LANGID> TableLanguages() {
    std::set<LANGID> languages;
    for (const BlockCase& c : kBlocks) languages.insert(c.language);
    return languages;
}

TEST(StringTable, BlockNineExistsInTheTableLanguagesOnly) {
    const std::set<LANGID> expected = TableLanguages();
    const std::set<LANGID> got = StoredLanguages(MAKEINTRESOURCEW(kBlock));
    for (LANGID language : got) {
        EXPECT_TRUE(expected.count(language)) << "block 9 in " << Describe(language) << ": got one, expected none";
    }
    for (LANGID language : expected) {
        EXPECT_TRUE(got.count(language)) << "block 9 in " << Describe(language) << ": got none, expected one";
    }
}

TEST(StringTable, TableLanguagesHaveNoOtherBlock) {
    std::vector<WORD> names;
    EnumResourceNamesW(GetModuleHandleW(nullptr), RT_STRING, CollectName, reinterpret_cast<LONG_PTR>(&names));
    const std::set<LANGID> table = TableLanguages();
    for (WORD name : names) {
        ASSERT_NE(name, 0) << "a string block with a string name: expected integer block numbers only";
        if (name == kBlock) continue;
        // The test program's own fixture block lives in a language outside the table.
        for (LANGID language : StoredLanguages(MAKEINTRESOURCEW(name))) {
            EXPECT_FALSE(table.count(language))
                << "block " << name << " in " << Describe(language) << ": got one, expected only block 9";
        }
    }
}

TEST(StringTable, RelatedBlocksDifferOnlyWhereTheirLanguagesDo) {
    const struct {
        LANGID first;
        LANGID second;
        std::set<UINT> differing;
    } cases[] = {
        {0x0409, 0x0809, {}},
        {0x080A, 0x0C0A, {}},
        // Traditional and simplified characters.
        {0x0404, 0x0804, {IDS_BTN_OK, IDS_BTN_RETRY, IDS_BTN_CONTINUE}},
        {0x0416, 0x0816, {IDS_BTN_RETRY}},
    };
    for (const auto& c : cases) {
        const StoredBlock first = ReadStoredBlock(c.first);
        const StoredBlock second = ReadStoredBlock(c.second);
        if (first.entries.size() != size_t(kEntries) || second.entries.size() != size_t(kEntries)) {
            ADD_FAILURE() << Describe(c.first) << " vs " << Describe(c.second) << ": got " << first.entries.size()
                          << " and " << second.entries.size() << " entries, expected 16 each";
            continue;
        }
        for (UINT id = 128; id < 128 + kEntries; ++id) {
            const std::wstring& a = first.entries[id - 128];
            const std::wstring& b = second.entries[id - 128];
            const bool expectDiffer = c.differing.count(id) != 0;
            EXPECT_EQ(a != b, expectDiffer)
                << Describe(c.first) << " vs " << Describe(c.second) << ", id " << id << ": got "
                << testing::PrintToString(a) << " and " << testing::PrintToString(b) << ", expected "
                << (expectDiffer ? "different" : "equal") << " texts";
        }
    }
}

TEST(StringTable, OkIsTranslatedInFiveBlocksOnly) {
    const std::set<LANGID> translated = {0x0404, 0x0804, 0x041E, 0x080A, 0x0C0A};
    for (const BlockCase& c : kBlocks) {
        const StoredBlock block = ReadStoredBlock(c.language);
        if (block.entries.size() != size_t(kEntries)) {
            ADD_FAILURE() << Describe(c.language) << ": got " << block.entries.size() << " entries, expected 16";
            continue;
        }
        const std::wstring& ok = block.entries[IDS_BTN_OK - 128];
        const bool expectTranslated = translated.count(c.language) != 0;
        EXPECT_EQ(ok != L"OK", expectTranslated)
            << Describe(c.language) << " (" << c.name << "): got OK caption " << testing::PrintToString(ok)
            << ", expected " << (expectTranslated ? "a translation" : "L\"OK\"");
    }
}

}  // namespace
