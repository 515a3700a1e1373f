#include "tools/pennant/Console.h"
#include "tools/pennant/JSONCommand.h"
#include "tools/pennant/Tool.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>

namespace {

struct Run {
    int status;
    std::string out;
    std::string err;
};

Run run(std::vector<std::string> arguments, const std::string& input = {}) {
    std::vector<std::unique_ptr<tool::Command>> commands;
    commands.push_back(std::make_unique<tool::JSONCommand>());
    const tool::Tool pennant(std::move(commands));
    std::istringstream in(input);
    std::ostringstream out, err;
    tool::Console console{in, out, err};
    const int status = pennant.run(arguments, console);
    return {status, out.str(), err.str()};
}

} // namespace

TEST(PennantTool, JSONParsePrintsCompactJSONOrTheError) {
    const auto trailingComma = run({"json", "parse"}, "{\"a\":1,}\n");
    EXPECT_EQ(trailingComma.status, 0);
    EXPECT_EQ(trailingComma.out, "{\"a\":1}\n");
    EXPECT_EQ(run({"json", "parse", "-"}, R"({"a":tru})").out, "{}\n");
    const auto missingComma = run({"json", "parse", "--any"}, "[1 2]");
    EXPECT_EQ(missingComma.status, 1);
    EXPECT_EQ(missingComma.out, "error JSONScannerErrorDomain -9: Could not scan array. Array "
                                "not terminated by a ']' character.\n");
    const auto notDictionary = run({"json", "parse"}, "[1]");
    EXPECT_EQ(notDictionary.status, 1);
    EXPECT_EQ(notDictionary.out.substr(0, 32), "error JSONScannerErrorDomain -1:");
    EXPECT_EQ(run({"json", "parse"}, "").out, "error JSONDeserializerErrorDomain -1: \n");
    EXPECT_EQ(run({"json", "parse", "--any"}, "[1e999]").status, 1);
}

TEST(PennantTool, ReadsFilesAndSeparatesUsageAndInputErrors) {
    const std::string path = ::testing::TempDir() + "pennant_tool_input.json";
    std::ofstream(path) << R"({"k":["v",2.5]})";
    EXPECT_EQ(run({"json", "parse", path}).out, "{\"k\":[\"v\",2.5]}\n");
    std::remove(path.c_str());

    const auto unreadable = run({"json", "parse", path});
    EXPECT_EQ(unreadable.status, 2);
    EXPECT_TRUE(unreadable.out.empty());
    EXPECT_NE(unreadable.err.find(path), std::string::npos);

    EXPECT_EQ(run({"--help"}).status, 0);
    EXPECT_NE(run({"json", "--help"}).out.find("pennant json parse"), std::string::npos);
    EXPECT_EQ(run({}).status, 2);
    EXPECT_EQ(run({"nope"}).status, 2);
    EXPECT_EQ(run({"json", "parse", "a", "b"}).status, 2);
}
