#include "timed_run.h"

#include <psapi.h>

namespace {

LONGLONG Ticks() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

double TicksToMs(LONGLONG ticks) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(ticks) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

JOBOBJECT_BASIC_ACCOUNTING_INFORMATION Accounting(HANDLE job) {
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION info = {};
    if (job != nullptr) {
        QueryInformationJobObject(job, JobObjectBasicAccountingInformation, &info, sizeof info, nullptr);
    }
    return info;
}

// Polls: this wait is outside the timed span, so its granularity does not matter.
bool WaitForActiveCount(HANDLE job, DWORD active, DWORD timeoutMs) {
    const DWORD begin = GetTickCount();
    while (Accounting(job).ActiveProcesses > active) {
        if (GetTickCount() - begin > timeoutMs) return false;
        Sleep(1);
    }
    return true;
}

}  // namespace

HANDLE OpenBenchJob() {
    const HANDLE job = CreateJobObjectW(nullptr, nullptr);
    if (job == nullptr) return nullptr;
    if (!AssignProcessToJobObject(job, GetCurrentProcess())) {
        CloseHandle(job);
        return nullptr;
    }
    return job;
}

TimedRun RunTimed(HANDLE job, const std::wstring& commandLine, DWORD timeoutMs) {
    TimedRun run;
    const JOBOBJECT_BASIC_ACCOUNTING_INFORMATION before = Accounting(job);
    std::wstring line = commandLine;  // CreateProcessW may write into it
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};

    const LONGLONG start = Ticks();
    if (!CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        return run;
    }
    const DWORD wait = WaitForSingleObject(process.hProcess, timeoutMs);
    const LONGLONG end = Ticks();

    if (wait == WAIT_OBJECT_0) {
        run.ran = true;
        run.milliseconds = TicksToMs(end - start);
        GetExitCodeProcess(process.hProcess, &run.exitCode);
        PROCESS_MEMORY_COUNTERS memory = {};
        memory.cb = sizeof memory;
        if (GetProcessMemoryInfo(process.hProcess, &memory, sizeof memory)) {
            run.peakWorkingSet = memory.PeakWorkingSetSize;
        }
    } else {
        TerminateProcess(process.hProcess, 0xDEAD);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);

    if (job != nullptr) {
        run.settled = WaitForActiveCount(job, before.ActiveProcesses, timeoutMs);
        run.processes = Accounting(job).TotalProcesses - before.TotalProcesses;
    }
    return run;
}
