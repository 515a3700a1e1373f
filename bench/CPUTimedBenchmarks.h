#pragma once

#include <functional>
#include <map>
#include <string>

// Benchmarks timed by the measuring thread's own CPU time, which other work on a shared
// machine does not inflate, with a summary line per target. The library keeps its figures to
// its reporters, so the loop is timed here as well.
class CPUTimedBenchmarks {
public:
    using Body = std::function<void()>;

    // Registers a benchmark whose setup, run once per measurement, returns the work to time.
    // The object must outlive the run.
    void add(const std::string& name, std::function<Body()> setup, double targetMilliseconds = 0);
    // "what: N ms of CPU (target under T ms): met", for a benchmark that ran.
    void printTarget(const char* what, const std::string& name, double targetMilliseconds) const;

private:
    // CPU milliseconds per iteration of the last run of each benchmark.
    std::map<std::string, double> measured_;
};
