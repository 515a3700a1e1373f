#include "sim/Scenario.h"

#include "platform/foundation/FileManager.h"
#include "platform/foundation/NumberParser.h"

#include <algorithm>
#include <fmt/format.h>
#include <map>
#include <sstream>

namespace sim {

namespace {

// How many numbers each command takes, at least and at most; one word (a file or key name)
// counts as -1, text running to the end of the line (a script, typed text) as kRestOfLine.
constexpr int kRestOfLine = -2;

struct Arity {
    int least;
    int most;
    // What a command taking the rest of the line takes, for its error message.
    const char* rest = nullptr;
};

const std::map<std::string, Arity>& commandArity() {
    static const std::map<std::string, Arity> arity{
        {"shake", {3, 3}},
        {"tap", {2, 2}},
        {"down", {2, 2}},
        {"move", {2, 2}},
        {"up", {2, 2}},
        {"swipe", {5, 5}},
        {"screenshot", {-1, -1}},
        {"dump", {0, 0}},
        {"rotate", {1, 1}},
        {"background", {0, 0}},
        {"foreground", {0, 0}},
        {"quit", {0, 0}},
        {"location", {3, 4}},
        {"location-denied", {0, 0}},
        {"alert-button", {1, 1}},
        {"web-eval", {kRestOfLine, kRestOfLine, "a script"}},
        {"type", {kRestOfLine, kRestOfLine, "text"}},
        {"key", {-1, -1}},
    };
    return arity;
}

// The keys a 'key' command can press.
bool isKeyName(const std::string& word) {
    return word == "return" || word == "backspace" || word == "cancel";
}

foundation::Result<double> whole(const std::string& word, const std::string& what, long long min,
                                 long long max) {
    auto number = foundation::NumberParser::integer(word, what, min, max);
    if (!number)
        return number.error();
    return static_cast<double>(number.value());
}

// An orientation is one of four whole numbers, a button index a small one and a swipe's
// duration is not negative; every other argument is any finite number.
foundation::Result<double> argument(const std::string& command, std::size_t position,
                                    const std::string& word) {
    const std::string what = fmt::format("argument {} of '{}'", position, command);
    if (command == "alert-button")
        return whole(word, what, 0, 99);
    if (command == "rotate")
        return whole(word, what, 1, 4);
    if (command == "swipe" && position == 5)
        return foundation::NumberParser::finiteNumber(word, what, 0);
    return foundation::NumberParser::finiteNumber(word, what);
}

foundation::Error lineError(int line, const std::string& message) {
    return foundation::Error{"ScenarioErrorDomain", line,
                             fmt::format("line {}: {}", line, message)};
}

foundation::Result<ScenarioCommand> parseLine(const std::vector<std::string>& words, int line) {
    if (words.size() < 3 || words[0] != "at")
        return lineError(line, "expected 'at <seconds> <command> [args]'");
    auto time = foundation::NumberParser::finiteNumber(words[1], "the time in seconds", 0);
    if (!time)
        return lineError(line, time.error().message);
    ScenarioCommand command{time.value(), words[2], {}, {}, line};
    auto arity = commandArity().find(command.name);
    if (arity == commandArity().end())
        return lineError(line, "unknown command '" + command.name + "'");
    if (arity->second.least == kRestOfLine) {
        if (words.size() < 4)
            return lineError(line, "'" + command.name + "' takes " + arity->second.rest);
        command.text = words[3];
        for (std::size_t i = 4; i < words.size(); ++i)
            command.text += " " + words[i];
        return command;
    }
    const bool takesName = arity->second.least < 0;
    const std::size_t least = takesName ? 1 : std::size_t(arity->second.least);
    const std::size_t most = takesName ? 1 : std::size_t(arity->second.most);
    const std::size_t given = words.size() - 3;
    if (given < least || given > most)
        return lineError(
            line, least == most
                      ? fmt::format("'{}' takes {} argument(s)", command.name, least)
                      : fmt::format("'{}' takes {} to {} arguments", command.name, least, most));
    if (takesName) {
        command.text = words[3];
        if (command.name == "key" && !isKeyName(command.text))
            return lineError(line,
                             "'key' takes return, backspace or cancel, not '" + command.text + "'");
        return command;
    }
    for (std::size_t i = 3; i < words.size(); ++i) {
        auto value = argument(command.name, i - 2, words[i]);
        if (!value)
            return lineError(line, value.error().message);
        command.numbers.push_back(value.value());
    }
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
