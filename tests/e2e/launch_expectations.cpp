#include "e2e/launch_expectations.h"

#include <cwctype>

const wchar_t* const kEditionFolders[5] = {L"Tandrel EN", L"Tandrel DE", L"Tandrel ES", L"Tandrel FR",
                                           L"Tandrel IT"};

namespace {

std::string Narrow(const std::wstring& text) { return testing::PrintToString(text); }

bool SamePath(const std::wstring& a, const std::wstring& b) {
    return CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1) == CSTR_EQUAL;
}

}  // namespace

std::wstring ArgumentsOf(const std::wstring& commandLine) {
    size_t end = 0;
    if (!commandLine.empty() && commandLine[0] == L'"') {
        end = commandLine.find(L'"', 1);
        end = (end == std::wstring::npos) ? commandLine.size() : end + 1;
    } else {
        end = commandLine.find(L' ');
        if (end == std::wstring::npos) end = commandLine.size();
    }
    std::wstring rest = commandLine.substr(end);
    while (!rest.empty() && iswspace(rest.front())) rest.erase(rest.begin());
    while (!rest.empty() && iswspace(rest.back())) rest.pop_back();
    return rest;
}

testing::AssertionResult StartedFrom(const LaunchResult& run, const std::wstring& folder) {
    if (!run.ran) return testing::AssertionFailure() << "the launcher did not run to its end";
    if (run.exitCode != 0) {
        return testing::AssertionFailure() << "exit code " << static_cast<int>(run.exitCode) << ", expected 0";
    }
    if (!run.game.started) {
        return testing::AssertionFailure() << "no game started, expected the one in " << Narrow(folder);
    }
    const std::wstring expectedModule = folder + L"\\Tandrel.exe";
    if (!SamePath(run.game.module, expectedModule)) {
        return testing::AssertionFailure() << "game started from " << Narrow(run.game.module) << ", expected "
                                           << Narrow(expectedModule);
    }
    if (!SamePath(run.game.currentDir, folder)) {
        return testing::AssertionFailure() << "game's working directory " << Narrow(run.game.currentDir)
                                           << ", expected " << Narrow(folder);
    }
    if (run.game.showCommand != SW_SHOWNORMAL) {
        return testing::AssertionFailure() << "game's show command " << run.game.showCommand
                                           << ", expected SW_SHOWNORMAL (1)";
    }
    const std::wstring arguments = ArgumentsOf(run.game.commandLine);
    if (!arguments.empty()) {
        return testing::AssertionFailure() << "game got arguments " << Narrow(arguments) << ", expected none";
    }
    return testing::AssertionSuccess();
}

testing::AssertionResult NothingStarted(const LaunchResult& run) {
    if (!run.ran) return testing::AssertionFailure() << "the launcher did not run to its end";
    if (run.exitCode != 0xFFFFFFFFu) {
        return testing::AssertionFailure() << "exit code 0x" << std::hex << run.exitCode
                                           << ", expected 0xFFFFFFFF (-1)";
    }
    if (run.game.started) {
        return testing::AssertionFailure() << "a game was started from " << Narrow(run.game.module)
                                           << ", expected none";
    }
    return testing::AssertionSuccess();
}
