#include "RatioReporter.h"

#include <cstdio>

void RatioReporter::ReportRuns(const std::vector<Run>& runs) {
    for (const Run& run : runs) {
        const auto rate = run.counters.find("bytes_per_second");
        if (rate != run.counters.end())
            bytesPerSecond_[run.benchmark_name()] = rate->second.value;
    }
    ConsoleReporter::ReportRuns(runs);
}

double RatioReporter::megabytesPerSecond(const std::string& parser,
                                         const std::string& input) const {
    const auto found = bytesPerSecond_.find(parser + "/" + input);
    return found == bytesPerSecond_.end() ? 0 : found->second / 1e6;
}

void RatioReporter::printSummary(const std::vector<std::string>& inputs) const {
    std::printf("\n%-14s %10s", "input (MB/s)", ours_.c_str());
    for (const auto& peer : peers_)
        std::printf(" %10s", peer.c_str());
    for (const auto& peer : peers_)
        std::printf("  %s/%s", ours_.c_str(), peer.c_str());
    std::printf("\n");
    for (const auto& input : inputs) {
        const double ours = megabytesPerSecond(ours_, input);
        std::printf("%-14s %10.1f", input.c_str(), ours);
        for (const auto& peer : peers_)
            std::printf(" %10.1f", megabytesPerSecond(peer, input));
        for (const auto& peer : peers_) {
            const double theirs = megabytesPerSecond(peer, input);
            const int width = static_cast<int>(ours_.size() + peer.size() + 1);
            std::printf("  %*.2f", width, theirs > 0 ? ours / theirs : 0.0);
        }
        std::printf("\n");
    }
}
