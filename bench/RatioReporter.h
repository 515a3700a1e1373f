#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

// Prints Google Benchmark's usual lines, then one table of MB/s per input and parser with the
// ratios of ours to each peer. Benchmarks are named "<parser>/<input>".
class RatioReporter : public benchmark::ConsoleReporter {
public:
    RatioReporter(std::string ours, std::vector<std::string> peers)
        : ours_(std::move(ours)), peers_(std::move(peers)) {}

    void ReportRuns(const std::vector<Run>& runs) override;
    void printSummary(const std::vector<std::string>& inputs) const;

private:
    double megabytesPerSecond(const std::string& parser, const std::string& input) const;

    std::string ours_;
    std::vector<std::string> peers_;
    std::map<std::string, double> bytesPerSecond_;
};
