#include "AllocationCounter.h"
#include "DocumentGenerator.h"
#include "RatioReporter.h"

#include "platform/foundation/Dictionary.h"
#include "json/JSONDeserializer.h"

#include <benchmark/benchmark.h>
#include <nlohmann/json.hpp>
#include <rapidjson/document.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <thread>

using foundation::Value;

namespace {

struct Input {
    std::string name;
    std::vector<std::string> documents;

    std::size_t bytes() const {
        std::size_t total = 0;
        for (const auto& document : documents)
            total += document.size();
        return total;
    }
};

std::vector<std::string> adResponses() {
    std::vector<std::filesystem::path> paths;
    for (const auto& entry : std::filesystem::directory_iterator(BENCH_DATA_DIR))
        if (entry.path().extension() == ".json")
            paths.push_back(entry.path());
    std::sort(paths.begin(), paths.end());
    std::vector<std::string> documents;
    for (const auto& path : paths) {
        std::ostringstream text;
        text << std::ifstream(path, std::ios::binary).rdbuf();
        documents.push_back(text.str());
    }
    return documents;
}

std::vector<Input> inputs() {
    DocumentGenerator generator;
    return {{"ad-responses", adResponses()},
            {"mixed-2MB", {generator.mixed(2 << 20)}},
            {"strings-1MB", {generator.stringHeavy(1 << 20)}},
            {"numbers-1MB", {generator.numberHeavy(1 << 20)}}};
}

bool parseOurs(const std::string& document) {
    auto result = json::JSONDeserializer().deserialize(document);
    benchmark::DoNotOptimize(result);
    return result.ok();
}

bool parseRapidJSON(const std::string& document) {
    rapidjson::Document parsed;
    parsed.Parse(document.data(), document.size());
    benchmark::DoNotOptimize(parsed);
    return !parsed.HasParseError();
}

bool parseNlohmann(const std::string& document) {
    auto parsed = nlohmann::json::parse(document.begin(), document.end(), nullptr, false);
    benchmark::DoNotOptimize(parsed);
    return !parsed.is_discarded();
}

// The heap blocks a value cannot do without: one per string too long to sit inline, one per
// array, two per dictionary (the block and its entry table) plus one per key too long for the
// standard string's own buffer.
std::size_t blocksHeldBy(const Value& value) {
    if (value.isString())
        return value.asString().size() > Value::kInlineStringCapacity ? 1 : 0;
    std::size_t blocks = 0;
    if (value.isArray()) {
        blocks = value.asArray().empty() ? 0 : 1;
        for (const auto& element : value.asArray())
            blocks += blocksHeldBy(element);
    } else if (value.isDictionary()) {
        blocks = value.asDictionary().empty() ? 1 : 2;
        for (const auto& [key, element] : value.asDictionary())
            blocks += (key.size() > std::string().capacity() ? 1 : 0) + blocksHeldBy(element);
    }
    return blocks;
}

// Runs on a thread of its own with every value kept until the end: the thread's block pool
// starts empty and nothing freed is recycled, so each block a value holds is a fresh allocation.
void reportAllocations(const Input& input) {
    std::size_t parseCount = 0, parseBytes = 0, minimumCount = 0;
    std::vector<Value> values;
    for (const auto& document : input.documents) {
        const AllocationCounter parsing;
        values.push_back(json::JSONDeserializer().deserialize(document).value());
        parseCount += parsing.totals().count;
        parseBytes += parsing.totals().bytes;
        minimumCount += blocksHeldBy(values.back());
    }
    std::printf("%-14s allocations %8zu (%9zu bytes); the values hold %8zu blocks\n",
                input.name.c_str(), parseCount, parseBytes, minimumCount);
}

void registerParser(const std::string& parser, bool (*parse)(const std::string&),
                    const Input& input) {
    for (const auto& document : input.documents)
        if (!parse(document)) {
            std::fprintf(stderr, "%s rejects an input of %s\n", parser.c_str(), input.name.c_str());
            std::exit(1);
        }
    benchmark::RegisterBenchmark(
        (parser + "/" + input.name).c_str(), [&input, parse](benchmark::State& state) {
            for (auto _ : state)
                for (const auto& document : input.documents)
                    parse(document);
            state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * input.bytes()));
        });
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    static const std::vector<Input> all = inputs();
    std::vector<std::string> names;
    for (const Input& input : all) {
        names.push_back(input.name);
        std::printf("%-14s %zu bytes in %zu document(s)\n", input.name.c_str(), input.bytes(),
                    input.documents.size());
        registerParser("ours", parseOurs, input);
        registerParser("rapidjson", parseRapidJSON, input);
        registerParser("nlohmann", parseNlohmann, input);
    }
    RatioReporter reporter("ours", {"rapidjson", "nlohmann"});
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printSummary(names);
    std::printf("\n");
    for (const Input& input : all)
        std::thread(reportAllocations, std::cref(input)).join();
    benchmark::Shutdown();
    return 0;
}
