#include "CPUTimedBenchmarks.h"

#include "ResourceUsage.h"

#include <benchmark/benchmark.h>

#include <cstdio>

void CPUTimedBenchmarks::add(const std::string& name, std::function<Body()> setup,
                             double targetMilliseconds) {
    benchmark::RegisterBenchmark(name.c_str(), [=, this](benchmark::State& state) {
        const Body body = setup();
        const double start = resource_usage::threadCPUSeconds();
        for (auto _ : state)
            body();
        const double elapsed = resource_usage::threadCPUSeconds() - start;
        measured_[name] = elapsed * 1e3 / static_cast<double>(state.iterations());
        state.counters["cpu_ms"] = measured_[name];
        if (targetMilliseconds > 0)
            state.counters["target_ms"] = targetMilliseconds;
    })->Unit(benchmark::kMicrosecond);
}

void CPUTimedBenchmarks::printTarget(const char* what, const std::string& name,
                                     double targetMilliseconds) const {
    const auto found = measured_.find(name);
    if (found == measured_.end())
        return;
    std::printf("%s: %.3f ms of CPU (target under %.1f ms): %s\n", what, found->second,
                targetMilliseconds, found->second < targetMilliseconds ? "met" : "NOT met");
}
