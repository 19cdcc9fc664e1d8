#include "harness/test_env.h"

#include <cstdio>
#include <cwchar>

namespace {

std::wstring EnvironmentValue(const wchar_t* name) {
    wchar_t value[4096] = {};
    const DWORD length = GetEnvironmentVariableW(name, value, 4096);
    return (length > 0 && length < 4096) ? std::wstring(value, length) : std::wstring();
}

}  // namespace

std::wstring TestProgramDir() {
    wchar_t path[4096] = {};
    GetModuleFileNameW(nullptr, path, 4096);
    std::wstring dir = path;
    return dir.substr(0, dir.find_last_of(L'\\'));
}

std::wstring WindowsPathOf(const std::wstring& path) {
    if (path.empty() || path[0] != L'/') return path;
    std::wstring out = L"Z:" + path;
    for (wchar_t& c : out) {
        if (c == L'/') c = L'\\';
    }
    return out;
}

std::wstring LauncherUnderTest() {
    const std::wstring fromEnv = EnvironmentValue(L"TANDREL_LAUNCHER");
    if (!fromEnv.empty()) return WindowsPathOf(fromEnv);
    return TestProgramDir() + L"\\TandrelLauncher.exe";
}

std::wstring StandInGame() { return TestProgramDir() + L"\\stand_in_game.exe"; }

DWORD RunTimeoutMs() {
    const std::wstring fromEnv = EnvironmentValue(L"TANDREL_RUN_TIMEOUT_MS");
    const DWORD value = fromEnv.empty() ? 0 : wcstoul(fromEnv.c_str(), nullptr, 10);
    return value != 0 ? value : 30000;
}

std::wstring HexLangId(LANGID id) {
    wchar_t text[16];
    swprintf(text, 16, L"0x%04X", id);
    return text;
}
