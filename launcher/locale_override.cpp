#include "launcher/locale_override.h"

#include "launcher/edition_table.h"

namespace {

const wchar_t kLocaleKeyPath[] = L"Software\\Kestrow\\Tandrel";
const wchar_t kLocaleValueName[] = L"Locale";
constexpr DWORD kValueBufferBytes = 520;

}  // namespace

void ApplyLocaleOverride(LANGID& language) {
    HKEY key = nullptr;
    // No view flag: a 32-bit launcher reads the 32-bit view, where a 32-bit
    // installer wrote the value.
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kLocaleKeyPath, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return;
    }

    // One unit more than the registry may fill, so a value of exactly 520 bytes
    // without a terminator is still a terminated string for the comparison.
    wchar_t value[kValueBufferBytes / sizeof(wchar_t) + 1] = {};
    DWORD size = kValueBufferBytes;
    // The type is neither asked for nor tested: any type spelling a code counts.
    const LSTATUS status = RegQueryValueExW(key, kLocaleValueName, nullptr, nullptr,
                                            reinterpret_cast<BYTE*>(value), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS) return;

    MatchLocaleCode(value, language);
}
