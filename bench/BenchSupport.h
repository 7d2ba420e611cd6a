// What the benchmark programs share: a progress that reports nowhere, a child process measured for
// wall time, CPU time and peak memory, and the best time of a few repeats of some work.
#pragma once

#include "lib/Progress.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace tabulon::bench {

class QuietProgress : public Progress {
public:
    void addStatusLine(const std::string&) override {}
    void startProgress(const std::string&, int, int) override {}
    void setProgress(const std::string&, int) override {}
    void processEvents() override {}
};

struct Measure {
    double seconds = 0;
    double cpuSeconds = 0; // user and system: unlike wall time, barely moved by other load on the machine
    long peakKiB = 0;
    int status = 0;
};

// Runs the program (looked up on PATH) with its standard output sent to `output` unless that is empty.
inline Measure runChild(const std::vector<std::string>& argv, const std::string& output = {}) {
    std::fflush(stdout);
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        if (!output.empty() && !std::freopen(output.c_str(), "wb", stdout))
            _exit(126);
        std::vector<char*> args;
        for (const std::string& a : argv)
            args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        execvp(args[0], args.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return {elapsed.count(), seconds(usage.ru_utime) + seconds(usage.ru_stime), usage.ru_maxrss,
            WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}

// The shortest of `repeats` timings of the work, in seconds: the one least disturbed by other load.
template <typename Work> double bestSeconds(Work work, int repeats = 5) {
    double best = 1e300;
    for (int i = 0; i < repeats; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        best = std::min(best, elapsed.count());
    }
    return best;
}

} // namespace tabulon::bench
