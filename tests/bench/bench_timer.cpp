// Times program starts inside one Wine session: warm-up runs first, then the
// programs in turn (A B C A B C ...), and one tab-separated line per program
// with median, min and max in ms, the ratios of its median and of its minimum
// to the first program's (the minimum is what load on the machine disturbs
// least), its peak working set, the processes each run started and the runs
// that went wrong. Ratios are the result: absolute times depend on the machine.
//
// Usage: bench_timer.exe [--runs N] [--warmup N] [--timeout-s S] [--progress]
//                        LABEL COMMAND_LINE [LABEL COMMAND_LINE ...]
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "platform/windows.h"
#include "sample_stats.h"
#include "timed_run.h"

namespace {

struct Options {
    unsigned runs = 20;
    unsigned warmup = 2;
    DWORD timeoutMs = 120000;
    bool progress = false;
};

struct Program {
    std::wstring label;
    std::wstring commandLine;
    std::vector<double> milliseconds;
    std::vector<double> peakKib;  // only runs where the platform reported it
    DWORD fewestProcesses = 0xFFFFFFFF;
    DWORD mostProcesses = 0;
    unsigned failed = 0;  // did not end in time, exit code not 0, or left processes behind
};

void Record(Program& program, const TimedRun& run) {
    if (!run.ran || run.exitCode != 0 || !run.settled) ++program.failed;
    if (!run.ran) return;
    program.milliseconds.push_back(run.milliseconds);
    if (run.peakWorkingSet != 0) program.peakKib.push_back(static_cast<double>(run.peakWorkingSet) / 1024.0);
    if (run.processes < program.fewestProcesses) program.fewestProcesses = run.processes;
    if (run.processes > program.mostProcesses) program.mostProcesses = run.processes;
}

bool ParseArguments(int argc, wchar_t** argv, Options& options, std::vector<Program>& programs) {
    int i = 1;
    for (; i < argc && wcsncmp(argv[i], L"--", 2) == 0; ++i) {
        const std::wstring flag = argv[i];
        if (flag == L"--progress") {
            options.progress = true;
            continue;
        }
        if (i + 1 >= argc) return false;
        const unsigned long value = wcstoul(argv[++i], nullptr, 10);
        if (flag == L"--runs" && value > 0) {
            options.runs = value;
        } else if (flag == L"--warmup") {
            options.warmup = value;
        } else if (flag == L"--timeout-s" && value > 0) {
            options.timeoutMs = value * 1000;
        } else {
            return false;
        }
    }
    for (; i + 1 < argc; i += 2) programs.push_back({argv[i], argv[i + 1], {}, {}, 0xFFFFFFFF, 0, 0});
    return i == argc && !programs.empty();
}

void PrintReport(const std::vector<Program>& programs) {
    std::printf("program\truns\tmedian_ms\tmin_ms\tmax_ms\tratio\tratio_min\tpeak_ws_kib\tprocesses\tfailed\n");
    const SampleStats reference = Summarize(programs.front().milliseconds);
    for (const Program& program : programs) {
        const SampleStats time = Summarize(program.milliseconds);
        const SampleStats peak = Summarize(program.peakKib);
        std::printf("%ls\t%u\t%.2f\t%.2f\t%.2f\t%.3f\t%.3f\t", program.label.c_str(),
                    static_cast<unsigned>(time.count), time.median, time.min, time.max,
                    reference.median > 0 ? time.median / reference.median : 0.0,
                    reference.min > 0 ? time.min / reference.min : 0.0);
        if (peak.count > 0) {
            std::printf("%.0f\t", peak.median);
        } else {
            std::printf("n/a\t");
        }
        if (program.mostProcesses == 0 && program.fewestProcesses == 0xFFFFFFFF) {
            std::printf("n/a");
        } else if (program.fewestProcesses == program.mostProcesses) {
            std::printf("%lu", program.mostProcesses);
        } else {
            std::printf("%lu-%lu", program.fewestProcesses, program.mostProcesses);
        }
        std::printf("\t%u\n", program.failed);
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    Options options;
    std::vector<Program> programs;
    if (!ParseArguments(argc, argv, options, programs)) {
        std::fprintf(stderr, "usage: bench_timer.exe [--runs N] [--warmup N] [--timeout-s S] [--progress] "
                             "LABEL COMMAND_LINE [LABEL COMMAND_LINE ...]\n");
        return 2;
    }
    const HANDLE job = OpenBenchJob();
    if (job == nullptr) std::fprintf(stderr, "warning: no job object; started games are not waited for\n");

    for (unsigned round = 0; round < options.warmup; ++round) {
        for (const Program& program : programs) RunTimed(job, program.commandLine, options.timeoutMs);
    }
    for (unsigned round = 0; round < options.runs; ++round) {
        for (Program& program : programs) {
            const TimedRun run = RunTimed(job, program.commandLine, options.timeoutMs);
            Record(program, run);
            if (options.progress) {
                std::fprintf(stderr, "run %u/%u %ls: %.1f ms, exit %lu, peak %lu KiB, %lu processes\n",
                             round + 1, options.runs, program.label.c_str(), run.milliseconds, run.exitCode,
                             static_cast<unsigned long>(run.peakWorkingSet / 1024), run.processes);
            }
        }
    }
    PrintReport(programs);
    return 0;
}
