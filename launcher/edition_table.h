// The five language editions and the choice of one of them.
#pragma once

#include "platform/windows.h"

struct EditionEntry {
    const wchar_t* localeCode;  // e.g. "de_DE", matched against the registry value
    LANGID langId;
    const wchar_t* folderName;  // sub-folder of the launcher's directory
};

constexpr int kEditionCount = 5;
// Row order is search order; row 0 is the default edition.
extern const EditionEntry kEditionTable[kEditionCount];

// Exact LANGID first, then the same primary language, else English.
LANGID ResolveUserLanguage(LANGID userLangId);

// Folder of the edition with exactly this LANGID. Callers only pass edition
// LANGIDs; anything else gets the default edition's folder.
const wchar_t* LookupEditionFolder(LANGID editionLangId);

// Equality that folds only ASCII A-Z; every other unit compares by value, so the
// result never depends on the user's or the system's locale.
bool EqualsIgnoringAsciiCase(const wchar_t* a, const wchar_t* b);

// Sets langId to the edition whose locale code equals `code` (ASCII case folded)
// and returns true; returns false and leaves langId alone when none does.
bool MatchLocaleCode(const wchar_t* code, LANGID& langId);
