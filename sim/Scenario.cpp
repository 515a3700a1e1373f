#include "sim/Scenario.h"

#include "platform/foundation/FileManager.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <fmt/format.h>
#include <map>
#include <sstream>

namespace sim {

namespace {

// How many numbers each command takes, at least and at most; a file name counts as -1.
struct Arity {
    int least;
    int most;
};

const std::map<std::string, Arity>& commandArity() {
    static const std::map<std::string, Arity> arity{
        {"shake", {3, 3}},      {"tap", {2, 2}},         {"down", {2, 2}},       {"move", {2, 2}},
        {"up", {2, 2}},         {"screenshot", {-1, -1}}, {"dump", {0, 0}},       {"rotate", {1, 1}},
        {"background", {0, 0}}, {"foreground", {0, 0}}, {"quit", {0, 0}},       {"location", {3, 4}},
        {"location-denied", {0, 0}},
    };
    return arity;
}

std::optional<double> number(const std::string& word) {
    double value = 0;
    auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (error != std::errc() || end != word.data() + word.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

foundation::Error lineError(int line, const std::string& message) {
    return foundation::Error{"ScenarioErrorDomain", line, fmt::format("line {}: {}", line, message)};
}

foundation::Result<ScenarioCommand> parseLine(const std::vector<std::string>& words, int line) {
    if (words.size() < 3 || words[0] != "at")
        return lineError(line, "expected 'at <seconds> <command> [args]'");
    auto time = number(words[1]);
    if (!time || *time < 0)
        return lineError(line, "'" + words[1] + "' is not a time in seconds");
    ScenarioCommand command{*time, words[2], {}, {}, line};
    auto arity = commandArity().find(command.name);
    if (arity == commandArity().end())
        return lineError(line, "unknown command '" + command.name + "'");
    const bool takesName = arity->second.least < 0;
    const std::size_t least = takesName ? 1 : std::size_t(arity->second.least);
    const std::size_t most = takesName ? 1 : std::size_t(arity->second.most);
    const std::size_t given = words.size() - 3;
    if (given < least || given > most)
        return lineError(line, least == most
                                   ? fmt::format("'{}' takes {} argument(s)", command.name, least)
                                   : fmt::format("'{}' takes {} to {} arguments", command.name, least, most));
    if (takesName) {
        command.text = words[3];
        return command;
    }
    for (std::size_t i = 3; i < words.size(); ++i) {
        auto value = number(words[i]);
        if (!value)
            return lineError(line, "'" + words[i] + "' is not a number");
        command.numbers.push_back(*value);
    }
    if (command.name == "rotate" && (command.numbers[0] < 1 || command.numbers[0] > 4 ||
                                     command.numbers[0] != std::floor(command.numbers[0])))
        return lineError(line, "rotate takes 1, 2, 3 or 4");
    return command;
}

} // namespace

foundation::Result<Scenario> Scenario::parse(std::string_view text) {
    Scenario scenario;
    std::istringstream lines{std::string(text)};
    std::string raw;
    for (int line = 1; std::getline(lines, raw); ++line) {
        if (auto hash = raw.find('#'); hash != std::string::npos)
            raw.erase(hash);
        std::istringstream split(raw);
        std::vector<std::string> words;
        for (std::string word; split >> word;)
            words.push_back(word);
        if (words.empty())
            continue;
        auto command = parseLine(words, line);
        if (!command)
            return command.error();
        scenario.commands_.push_back(std::move(command.value()));
    }
    std::stable_sort(scenario.commands_.begin(), scenario.commands_.end(),
                     [](const auto& a, const auto& b) { return a.time < b.time; });
    return scenario;
}

foundation::Result<Scenario> Scenario::load(const std::string& path) {
    auto bytes = foundation::FileManager::contentsAtPath(path);
    if (!bytes)
        return foundation::Error{"ScenarioErrorDomain", 0, "cannot read scenario " + path};
    return parse(bytes->view());
}

} // namespace sim
