#include "harness/launch_run.h"

#include "harness/test_env.h"

namespace {

std::wstring WindowText(HWND window) {
    wchar_t text[1024] = {};
    GetWindowTextW(window, text, 1024);
    return text;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

struct BoxSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK MatchDialogOfProcess(HWND window, LPARAM context) {
    BoxSearch* search = reinterpret_cast<BoxSearch*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && IsWindowVisible(window) && ClassOf(window) == L"#32770") {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND FindBoxOfProcess(DWORD processId) {
    BoxSearch search = {processId, nullptr};
    EnumWindows(MatchDialogOfProcess, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

BOOL CALLBACK CollectButton(HWND child, LPARAM context) {
    if (ClassOf(child) == L"Button") {
        reinterpret_cast<SeenBox*>(context)->buttons.push_back({GetDlgCtrlID(child), WindowText(child)});
    }
    return TRUE;
}

std::string ReadWholeFile(const std::wstring& path) {
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::string();
    std::string content(GetFileSize(file, nullptr), '\0');
    DWORD read = 0;
    if (!content.empty()) ReadFile(file, &content[0], static_cast<DWORD>(content.size()), &read, nullptr);
    CloseHandle(file);
    content.resize(read);
    return content;
}

std::wstring FromUtf8(const std::string& text) {
    if (text.empty()) return std::wstring();
    const int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(size, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], size);
    return out;
}

GameStart ParseReport(const std::string& report) {
    GameStart game;
    game.started = true;
    size_t start = 0;
    while (start < report.size()) {
        size_t end = report.find('\n', start);
        if (end == std::string::npos) end = report.size();
        const std::string line = report.substr(start, end - start);
        const size_t equals = line.find('=');
        if (equals != std::string::npos) {
            const std::string key = line.substr(0, equals);
            const std::wstring value = FromUtf8(line.substr(equals + 1));
            if (key == "module") game.module = value;
            if (key == "cwd") game.currentDir = value;
            if (key == "cmdline") game.commandLine = value;
            if (key == "show") game.showCommand = _wtoi(value.c_str());
        }
        start = end + 1;
    }
    return game;
}

GameStart WaitForGame(const std::wstring& reportPath, DWORD timeoutMs) {
    const DWORD begin = GetTickCount();
    while (GetTickCount() - begin < timeoutMs) {
        if (GetFileAttributesW(reportPath.c_str()) != INVALID_FILE_ATTRIBUTES) {
            return ParseReport(ReadWholeFile(reportPath));
        }
        Sleep(50);
    }
    return GameStart();
}

std::wstring NewReportPath() {
    wchar_t dir[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, dir);
    static unsigned counter = 0;  // one runner per test program, one thread
    wchar_t name[64];
    swprintf(name, 64, L"game-report-%lu-%u.txt", GetCurrentProcessId(), ++counter);
    return std::wstring(dir) + name;
}

}  // namespace

SeenBox ReadBox(HWND box) {
    SeenBox seen;
    seen.seen = true;
    seen.windowClass = ClassOf(box);
    seen.caption = WindowText(box);
    if (HWND text = GetDlgItem(box, 0xFFFF)) seen.text = WindowText(text);
    EnumChildWindows(box, CollectButton, reinterpret_cast<LPARAM>(&seen));
    return seen;
}

LaunchResult RunLauncher(const std::wstring& launcher, const LaunchOptions& options) {
    LaunchResult result;
    const std::wstring reportPath = NewReportPath();
    DeleteFileW(reportPath.c_str());
    SetEnvironmentVariableW(L"TANDREL_GAME_REPORT", reportPath.c_str());

    std::wstring commandLine = L"\"" + launcher + L"\"";
    if (!options.arguments.empty()) commandLine += L" " + options.arguments;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    if (options.useShowCommand) {
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = options.showCommand;
    }
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(launcher.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        options.currentDir.empty() ? nullptr : options.currentDir.c_str(), &startup,
                        &process)) {
        return result;
    }
    CloseHandle(process.hThread);

    const DWORD timeout = RunTimeoutMs();
    const DWORD begin = GetTickCount();
    DWORD wait = WAIT_TIMEOUT;
    while (wait == WAIT_TIMEOUT && GetTickCount() - begin < timeout) {
        wait = WaitForSingleObject(process.hProcess, 50);
        if (wait != WAIT_TIMEOUT || result.box.seen) continue;
        if (HWND box = FindBoxOfProcess(process.dwProcessId)) {
            result.box = ReadBox(box);
            PostMessageW(box, WM_COMMAND, IDOK, 0);
        }
    }
    if (wait == WAIT_OBJECT_0) {
        result.ran = GetExitCodeProcess(process.hProcess, &result.exitCode) != 0;
    } else {
        TerminateProcess(process.hProcess, 0xDEAD);
    }
    CloseHandle(process.hProcess);

    if (result.ran && result.exitCode == 0 && options.waitForGame) {
        result.game = WaitForGame(reportPath, timeout);
    } else if (GetFileAttributesW(reportPath.c_str()) != INVALID_FILE_ATTRIBUTES) {
        result.game = ParseReport(ReadWholeFile(reportPath));
    }
    DeleteFileW(reportPath.c_str());
    return result;
}
