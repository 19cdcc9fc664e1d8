// The "Locale" override read from the registry of the test prefix.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "harness/registry_value.h"
#include "harness/test_env.h"
#include "launcher/locale_override.h"

namespace {

std::vector<BYTE> Utf16Bytes(const std::wstring& text) {
    const BYTE* bytes = reinterpret_cast<const BYTE*>(text.data());
    return std::vector<BYTE>(bytes, bytes + text.size() * sizeof(wchar_t));
}

std::vector<BYTE> WithTerminator(const std::wstring& text) { return Utf16Bytes(text + L'\0'); }

struct ValueCase {
    const char* what;
    DWORD type;
    std::vector<BYTE> data;
    LANGID before;
    LANGID after;
};

TEST(ApplyLocaleOverride, ReadsAnyTypeThatSpellsACode) {
    const DWORD dword = 0x040C;
    const std::vector<BYTE> dwordBytes(reinterpret_cast<const BYTE*>(&dword),
                                       reinterpret_cast<const BYTE*>(&dword) + sizeof dword);
    std::vector<BYTE> oddLength = Utf16Bytes(L"en_US");
    oddLength.push_back(0);
    const ValueCase cases[] = {
        {"REG_SZ", REG_SZ, WithTerminator(L"fr_FR"), 0x0407, 0x040C},
        {"REG_SZ upper and lower swapped", REG_SZ, WithTerminator(L"FR_fr"), 0x0407, 0x040C},
        {"REG_SZ overrides an exact user match", REG_SZ, WithTerminator(L"it_IT"), 0x0409, 0x0410},
        {"REG_SZ hyphen", REG_SZ, WithTerminator(L"fr-FR"), 0x0407, 0x0407},
        {"REG_SZ with code page", REG_SZ, WithTerminator(L"fr_FR.UTF-8"), 0x0407, 0x0407},
        {"REG_SZ trailing blank", REG_SZ, WithTerminator(L"fr_FR "), 0x0407, 0x0407},
        {"REG_SZ language only", REG_SZ, WithTerminator(L"fr"), 0x0407, 0x0407},
        {"REG_SZ no edition", REG_SZ, WithTerminator(L"pt_BR"), 0x0407, 0x0407},
        {"REG_SZ empty string", REG_SZ, WithTerminator(L""), 0x0407, 0x0407},
        {"REG_SZ zero bytes", REG_SZ, {}, 0x0407, 0x0407},
        {"REG_SZ without terminator", REG_SZ, Utf16Bytes(L"es_ES"), 0x0407, 0x0C0A},
        {"REG_EXPAND_SZ", REG_EXPAND_SZ, WithTerminator(L"it_IT"), 0x0409, 0x0410},
        {"REG_MULTI_SZ", REG_MULTI_SZ, WithTerminator(std::wstring(L"es_ES\0", 6)), 0x0409, 0x0C0A},
        {"REG_BINARY spelling UTF-16", REG_BINARY, Utf16Bytes(L"de_DE"), 0x0409, 0x0407},
        {"REG_BINARY odd length", REG_BINARY, oddLength, 0x0407, 0x0409},
        {"REG_BINARY spelling 8-bit", REG_BINARY, {'d', 'e', '_', 'D', 'E', 0}, 0x0409, 0x0409},
        {"REG_NONE spelling UTF-16", REG_NONE, WithTerminator(L"fr_FR"), 0x0409, 0x040C},
        {"REG_DWORD", REG_DWORD, dwordBytes, 0x0409, 0x0409},
        {"REG_QWORD", REG_QWORD, std::vector<BYTE>(8, 0x41), 0x0409, 0x0409},
    };
    for (const ValueCase& c : cases) {
        ASSERT_TRUE(SetLocaleValue(c.type, c.data.data(), static_cast<DWORD>(c.data.size()))) << c.what;
        LANGID language = c.before;
        ApplyLocaleOverride(language);
        EXPECT_EQ(language, c.after) << c.what << ": got " << testing::PrintToString(HexLangId(language))
                                     << ", expected " << testing::PrintToString(HexLangId(c.after));
    }
    DeleteLocaleKey();
}

TEST(ApplyLocaleOverride, ReadsAtMost520Bytes) {
    std::wstring fitsWithTerminator = std::wstring(L"en_US") + std::wstring(255, L'\0');
    std::wstring fitsUnterminated = std::wstring(L"en_US") + std::wstring(255, L'x');
    std::wstring tooLarge = std::wstring(L"en_US") + std::wstring(256, L'\0');
    const ValueCase cases[] = {
        {"exactly 520 bytes, code then zeros", REG_BINARY, Utf16Bytes(fitsWithTerminator), 0x0407, 0x0409},
        {"exactly 520 bytes, no terminator", REG_BINARY, Utf16Bytes(fitsUnterminated), 0x0407, 0x0407},
        {"exactly 520 bytes REG_SZ, no terminator", REG_SZ, Utf16Bytes(fitsUnterminated), 0x0407, 0x0407},
        {"exactly 520 bytes, the code alone", REG_BINARY,
         Utf16Bytes(std::wstring(255, L'x') + L"en_US"), 0x0407, 0x0407},
        {"522 bytes starting with a code", REG_BINARY, Utf16Bytes(tooLarge), 0x0407, 0x0407},
        {"REG_SZ of 4 KB", REG_SZ, WithTerminator(std::wstring(2047, L'e')), 0x0407, 0x0407},
        {"REG_BINARY of 64 KB", REG_BINARY, std::vector<BYTE>(65536, 0), 0x0407, 0x0407},
    };
    for (const ValueCase& c : cases) {
        ASSERT_TRUE(SetLocaleValue(c.type, c.data.data(), static_cast<DWORD>(c.data.size()))) << c.what;
        LANGID language = c.before;
        ApplyLocaleOverride(language);
        EXPECT_EQ(language, c.after) << c.what << " (" << c.data.size() << " bytes): got "
                                     << testing::PrintToString(HexLangId(language)) << ", expected "
                                     << testing::PrintToString(HexLangId(c.after));
    }
    DeleteLocaleKey();
}

TEST(ApplyLocaleOverride, LeavesTheLanguageWithoutKeyOrValue) {
    ASSERT_TRUE(DeleteLocaleKey());
    LANGID language = 0x0410;
    ApplyLocaleOverride(language);
    EXPECT_EQ(language, 0x0410) << "missing key: got " << testing::PrintToString(HexLangId(language));

    ASSERT_TRUE(SetLocaleString(L"fr_FR"));
    ASSERT_TRUE(DeleteLocaleValue());
    ApplyLocaleOverride(language);
    EXPECT_EQ(language, 0x0410) << "missing value: got " << testing::PrintToString(HexLangId(language));
    DeleteLocaleKey();
}

// The key must be closed on every path. Both Windows and Wine hand a freed handle
// slot out again first, so the value a fresh handle gets only moves when a
// handle was left open in between.
HANDLE NextHandleValue() {
    const HANDLE probe = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    CloseHandle(probe);
    return probe;
}

TEST(ApplyLocaleOverride, ClosesTheKeyOnEveryPath) {
    const std::vector<BYTE> tooLarge(600, 0);
    const struct {
        const char* what;
        DWORD type;
        std::vector<BYTE> data;  // empty type 0: no value at all
    } paths[] = {
        {"value matches", REG_SZ, WithTerminator(L"fr_FR")},
        {"value matches nothing", REG_SZ, WithTerminator(L"xx_XX")},
        {"value too large", REG_BINARY, tooLarge},
        {"no value", 0, {}},
    };
    for (const auto& p : paths) {
        DeleteLocaleKey();
        if (p.type != 0) {
            ASSERT_TRUE(SetLocaleValue(p.type, p.data.data(), static_cast<DWORD>(p.data.size()))) << p.what;
        } else {
            ASSERT_TRUE(SetLocaleString(L"x") && DeleteLocaleValue()) << p.what;
        }
        const HANDLE before = NextHandleValue();
        for (int i = 0; i < 20; ++i) {
            LANGID language = 0x0409;
            ApplyLocaleOverride(language);
        }
        const HANDLE after = NextHandleValue();
        EXPECT_EQ(after, before) << p.what << ": next free handle moved from " << before << " to " << after
                                 << " after 20 reads, so handles were left open";
    }
    DeleteLocaleKey();
}

}  // namespace
