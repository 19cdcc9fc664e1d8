// Reads one string of the launcher's own string table in a language the caller
// names, whatever the user's or the thread's language is.
#pragma once

#include <string>

#include "platform/windows.h"

// String `id` from the block of exactly `language` in the launcher's executable.
// false: no such block in that language, or it cannot be loaded; `output` is
// left as it was. true: the block was read; `output` holds the string, or is
// left as it was when the id's entry is empty.
bool LoadStringForLanguage(UINT id, LANGID language, std::wstring& output);

// The walk over one loaded string block. `block` points at its first entry;
// each of the sixteen entries is a count of UTF-16 units followed by that many
// units. Copies the entry at `index` (0 to 15) into `output` when its count is
// not 0 and returns true; otherwise returns false and leaves `output` alone.
// Reads nothing behind the wanted entry.
bool ReadStringBlockEntry(const WCHAR* block, UINT index, std::wstring& output);
