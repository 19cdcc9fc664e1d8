#include "launcher/edition_table.h"

const EditionEntry kEditionTable[kEditionCount] = {
    {L"en_US", 0x0409, L"Tandrel EN"},
    {L"de_DE", 0x0407, L"Tandrel DE"},
    {L"es_ES", 0x0C0A, L"Tandrel ES"},  // modern sort, not 0x040A
    {L"fr_FR", 0x040C, L"Tandrel FR"},
    {L"it_IT", 0x0410, L"Tandrel IT"},
};

namespace {

LANGID PrimaryLanguageOf(LANGID id) { return static_cast<LANGID>(id & 0x3FF); }

wchar_t FoldAscii(wchar_t c) {
    return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

}  // namespace

LANGID ResolveUserLanguage(LANGID userLangId) {
    for (const EditionEntry& row : kEditionTable) {
        if (row.langId == userLangId) return row.langId;
    }
    for (const EditionEntry& row : kEditionTable) {
        if (PrimaryLanguageOf(row.langId) == PrimaryLanguageOf(userLangId)) return row.langId;
    }
    return kEditionTable[0].langId;
}

const wchar_t* LookupEditionFolder(LANGID editionLangId) {
    for (const EditionEntry& row : kEditionTable) {
        if (row.langId == editionLangId) return row.folderName;
    }
    return kEditionTable[0].folderName;
}

bool EqualsIgnoringAsciiCase(const wchar_t* a, const wchar_t* b) {
    for (;; ++a, ++b) {
        if (FoldAscii(*a) != FoldAscii(*b)) return false;
        if (*a == L'\0') return true;
    }
}

bool MatchLocaleCode(const wchar_t* code, LANGID& langId) {
    for (const EditionEntry& row : kEditionTable) {
        if (EqualsIgnoringAsciiCase(code, row.localeCode)) {
            langId = row.langId;
            return true;
        }
    }
    return false;
}
