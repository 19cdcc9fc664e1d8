// One start of a program, timed from the request to create it until it has
// exited, inside a job so that whatever it starts (the game) can be waited for
// before the next run.
#pragma once

#include <string>

#include "platform/windows.h"

struct TimedRun {
    bool ran = false;           // created, and ended within the timeout
    double milliseconds = 0;    // CreateProcessW until the process is signalled
    DWORD exitCode = 0;
    SIZE_T peakWorkingSet = 0;  // bytes; 0 when the platform does not say
    DWORD processes = 0;        // processes started in the job by this run, itself included
    bool settled = false;       // everything it started has ended as well
};

// A job that holds the timer itself, so every process it starts, and every
// process those start, is counted in it. Null when the platform refuses.
HANDLE OpenBenchJob();

// Starts commandLine (program and arguments, as CreateProcessW takes them) and
// waits for it; then, untimed, for the processes it started.
TimedRun RunTimed(HANDLE job, const std::wstring& commandLine, DWORD timeoutMs);
