#include "harness/registry_value.h"

namespace {

const wchar_t kKeyPath[] = L"Software\\Kestrow\\Tandrel";

}  // namespace

bool SetLocaleValue(DWORD type, const void* data, DWORD size, REGSAM view) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, kKeyPath, 0, nullptr, 0, KEY_SET_VALUE | view, nullptr, &key,
                        nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const LSTATUS status = RegSetValueExW(key, L"Locale", 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

bool SetLocaleString(const std::wstring& code, REGSAM view) {
    return SetLocaleValue(REG_SZ, code.c_str(), static_cast<DWORD>((code.size() + 1) * sizeof(wchar_t)), view);
}

bool DeleteLocaleValue(REGSAM view) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kKeyPath, 0, KEY_SET_VALUE | view, &key) != ERROR_SUCCESS) return true;
    const LSTATUS status = RegDeleteValueW(key, L"Locale");
    RegCloseKey(key);
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

bool DeleteLocaleKey(REGSAM view) {
    DeleteLocaleValue(view);
    HKEY parent = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Kestrow", 0, KEY_ALL_ACCESS | view, &parent) !=
        ERROR_SUCCESS) {
        return true;
    }
    const LSTATUS status = RegDeleteKeyW(parent, L"Tandrel");
    RegCloseKey(parent);
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}
