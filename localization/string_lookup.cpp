#include "localization/string_lookup.h"

#include "platform/kernel.h"

namespace {

const UINT kStringsPerBlock = 16;

}  // namespace

bool ReadStringBlockEntry(const WCHAR* block, UINT index, std::wstring& output) {
    const WCHAR* entry = block;
    for (UINT i = 0; i < kStringsPerBlock; ++i) {
        const WCHAR count = *entry++;
        // An empty entry is never taken, even at the wanted index.
        if (count != 0 && i == index) {
            // By count, not by terminator: a unit 0 inside is copied too.
            output.assign(entry, count);
            return true;
        }
        entry += count;
    }
    return false;
}

bool LoadStringForLanguage(UINT id, LANGID language, std::wstring& output) {
    // Asked anew each time: nothing is kept between calls.
    const HMODULE module = kernel::GetModuleHandleW(nullptr);
    // Exactly this language; the caller decides on any fallback, not the lookup.
    const HRSRC block =
        kernel::FindResourceExW(module, RT_STRING, MAKEINTRESOURCEW(id / kStringsPerBlock + 1), language);
    if (block == nullptr) return false;
    // A module's resources stay mapped for the life of the process.
    const HGLOBAL data = kernel::LoadResource(module, block);
    if (data == nullptr) return false;
    ReadStringBlockEntry(static_cast<const WCHAR*>(data), id % kStringsPerBlock, output);
    return true;
}
