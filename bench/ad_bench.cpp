#include "LoopbackAdClient.h"
#include "ResourceUsage.h"

#include "platform/foundation/BlockPool.h"
#include "platform/foundation/PlatformContext.h"

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

// The first ad fetches the browser icons; the rest settle the allocator and the connections.
constexpr int kWarmUpAds = 100;
constexpr int kMeasuredAds = 1000;
constexpr double kClientCPUTargetMicroseconds = 1000;

constexpr double kKiB = 1024;

// The process's memory at one moment, split so that growth can be traced to its holder.
struct Memory {
    double residentKiB = 0;
    double heapInUseKiB = 0;
    // Freed blocks the main thread's block pool keeps for reuse; the heap counts them in use.
    double mainPoolKeptKiB = 0;

    static Memory now() {
        return {static_cast<double>(resource_usage::residentBytes()) / kKiB,
                static_cast<double>(resource_usage::heapInUseBytes()) / kKiB,
                static_cast<double>(foundation::BlockPool::keptBytes()) / kKiB};
    }
};

// Sums over the measured ads, for the summary after the run.
struct Totals {
    int ads = 0;
    double mainCPUSeconds = 0;
    double parseCPUSeconds = 0;
    double processCPUSeconds = 0;
    Memory before;
    Memory after;

    void add(const LoopbackAdClient::Sample& sample) {
        ++ads;
        mainCPUSeconds += sample.mainCPUSeconds;
        parseCPUSeconds += sample.parseCPUSeconds;
        processCPUSeconds += sample.processCPUSeconds;
    }
    double perAdMicroseconds(double seconds) const { return ads ? seconds * 1e6 / ads : 0; }
    double clientCPUSeconds() const { return mainCPUSeconds + parseCPUSeconds; }
};

void setCounters(benchmark::State& state, const Totals& totals) {
    using benchmark::Counter;
    state.counters["main_cpu_us"] = Counter(totals.mainCPUSeconds * 1e6, Counter::kAvgIterations);
    state.counters["parse_cpu_us"] = Counter(totals.parseCPUSeconds * 1e6, Counter::kAvgIterations);
    state.counters["client_cpu_us"] =
        Counter(totals.clientCPUSeconds() * 1e6, Counter::kAvgIterations);
    state.counters["process_cpu_us"] =
        Counter(totals.processCPUSeconds * 1e6, Counter::kAvgIterations);
    state.counters["rss_before_KiB"] = totals.before.residentKiB;
    state.counters["rss_after_KiB"] = totals.after.residentKiB;
    state.counters["heap_growth_KiB"] = totals.after.heapInUseKiB - totals.before.heapInUseKiB;
    state.counters["main_pool_growth_KiB"] =
        totals.after.mainPoolKeptKiB - totals.before.mainPoolKeptKiB;
}

// One plain ad per iteration, timed from request to adDidLoad on the wall clock.
void loadPlainAds(benchmark::State& state, LoopbackAdClient& client, Totals& totals) {
    totals = Totals();
    totals.before = Memory::now();
    for (auto _ : state) {
        auto sample = client.loadPlainAd();
        if (!sample) {
            state.SkipWithError(sample.error().message.c_str());
            break;
        }
        state.SetIterationTime(sample.value().wallSeconds);
        totals.add(sample.value());
    }
    totals.after = Memory::now();
    setCounters(state, totals);
}

bool warmUp(LoopbackAdClient& client) {
    for (int i = 0; i < kWarmUpAds; ++i)
        if (auto sample = client.loadPlainAd(); !sample) {
            std::fprintf(stderr, "warm-up ad %d: %s\n", i + 1, sample.error().message.c_str());
            return false;
        }
    return true;
}

void printSummary(const Totals& totals, bool parseTimeIsKnown) {
    if (totals.ads == 0)
        return;
    const double client = totals.perAdMicroseconds(totals.clientCPUSeconds());
    std::printf("\nclient CPU per ad: %.0f us (main thread %.0f us + parse worker %.0f us%s); "
                "target under %.0f us: %s\n",
                client, totals.perAdMicroseconds(totals.mainCPUSeconds),
                totals.perAdMicroseconds(totals.parseCPUSeconds),
                parseTimeIsKnown ? "" : ", not readable here", kClientCPUTargetMicroseconds,
                client < kClientCPUTargetMicroseconds ? "met" : "NOT met");
    const Memory& before = totals.before;
    const Memory& after = totals.after;
    std::printf("resident memory over %d ads: %.0f KiB before, %.0f KiB after (%+.0f KiB); heap "
                "in use %+.0f KiB, of which the main thread's block pool keeps %+.0f KiB\n",
                totals.ads, before.residentKiB, after.residentKiB,
                after.residentKiB - before.residentKiB, after.heapInUseKiB - before.heapInUseKiB,
                after.mainPoolKeptKiB - before.mainPoolKeptKiB);
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    // The process's shared objects (run loop, sandbox, HTTP client...) live in this context.
    foundation::PlatformContext context;
    LoopbackAdClient client;
    if (auto started = client.start(); !started) {
        std::fprintf(stderr, "cannot start: %s\n", started.error().message.c_str());
        return 1;
    }
    if (!warmUp(client))
        return 1;
    Totals totals;
    benchmark::RegisterBenchmark(
        "PlainAd/request_to_adDidLoad",
        [&](benchmark::State& state) { loadPlainAds(state, client, totals); })
        ->Iterations(kMeasuredAds)
        ->UseManualTime()
        ->Unit(benchmark::kMicrosecond);
    benchmark::RunSpecifiedBenchmarks();
    printSummary(totals, client.parseTimeIsKnown());
    benchmark::Shutdown();
    return totals.ads == kMeasuredAds ? 0 : 1;
}
