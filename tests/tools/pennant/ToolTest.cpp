#include "tools/pennant/Tool.h"
#include "tools/pennant/Console.h"
#include "tools/pennant/InputSource.h"
#include "tools/pennant/JSONCommand.h"

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

int runWith(std::vector<std::string> arguments, std::istream& in, std::ostream& out,
            std::ostream& err) {
    std::vector<std::unique_ptr<tool::Command>> commands;
    commands.push_back(std::make_unique<tool::JSONCommand>());
    const tool::Tool pennant(std::move(commands));
    tool::Console console{in, out, err};
    return pennant.run(arguments, console);
}

Run run(std::vector<std::string> arguments, const std::string& input = {}) {
    std::istringstream in(input);
    std::ostringstream out, err;
    const int status = runWith(arguments, in, out, err);
    return {status, out.str(), err.str()};
}

// Takes what fits in its buffer, then refuses everything, as a full disk does.
class FullDevice : public std::streambuf {
    char buffer_[16];

public:
    FullDevice() { setp(buffer_, buffer_ + sizeof buffer_); }
    int overflow(int) override { return traits_type::eof(); }
    int sync() override { return pbase() == pptr() ? 0 : -1; }
};

} // namespace

TEST(PennantTool, JSONParsePrintsCompactJSONOrTheError) {
    const auto trailingComma = run({"json", "parse"}, "{\"a\":1,}\n");
    EXPECT_EQ(trailingComma.status, 0);
    EXPECT_EQ(trailingComma.out, "{\"a\":1}\n");
    EXPECT_EQ(run({"json", "parse", "-"}, R"({"a":tru})").out, "{}\n");
    EXPECT_EQ(run({"json", "parse"}, R"({"a":null,"b":{"c":null}})").out,
              "{\"a\":null,\"b\":{\"c\":null}}\n");
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

TEST(PennantTool, OutputThatCannotBeWrittenIsAFailure) {
    std::istringstream in(R"({"a":"longer than the device's buffer"})");
    FullDevice device;
    std::ostream out(&device);
    std::ostringstream err;
    EXPECT_EQ(runWith({"json", "parse"}, in, out, err), 1);
    EXPECT_TRUE(err.str().starts_with("pennant: cannot write the output")) << err.str();

    std::istringstream tiny(R"({})");
    FullDevice roomy;
    std::ostream fits(&roomy);
    std::ostringstream quiet;
    EXPECT_EQ(runWith({"json", "parse"}, tiny, fits, quiet), 1) << "the final flush fails too";
}

TEST(PennantTool, InputIsBoundedForFilesAndStandardInput) {
    std::istringstream big(std::string(100, ' '));
    const auto refused = tool::InputSource::read("-", big, 99);
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error().message,
              "cannot read standard input: larger than the limit of 99 bytes");
    std::istringstream exact(std::string(99, ' '));
    EXPECT_EQ(tool::InputSource::read("", exact, 99).value().size(), 99u);

    const auto endless = run({"json", "parse", "/dev/zero"});
    EXPECT_EQ(endless.status, 2);
    EXPECT_EQ(endless.err, "pennant: cannot read /dev/zero: larger than the limit of " +
                               std::to_string(tool::InputSource::kMaxInputBytes) + " bytes\n");
    EXPECT_TRUE(endless.out.empty());
}
