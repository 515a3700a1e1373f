#include "tests/adserver/LoopbackServer.h"
#include "tools/pennant/Console.h"
#include "tools/pennant/EncodeCommand.h"
#include "tools/pennant/FetchCommand.h"
#include "tools/pennant/QueryParseCommand.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

namespace {

struct Run {
    int status;
    std::string out;
};

Run run(const tool::Command& command, std::vector<std::string> arguments) {
    std::istringstream in;
    std::ostringstream out, err;
    tool::Console console{in, out, err};
    const int status = command.run(arguments, console);
    return {status, out.str()};
}

} // namespace

TEST(PennantFetch, PrintsTheOutcomeOfOneDownload) {
    testing_support::LoopbackServer server;
    const std::string map = "static.pennant.test=127.0.0.1:" + std::to_string(server.port());
    const auto ok = run(tool::FetchCommand(), {"--map", map, "http://static.pennant.test/static/phone/canvas.html"});
    EXPECT_EQ(ok.status, 0);
    EXPECT_TRUE(ok.out.starts_with("ok 200 ")) << ok.out;
    EXPECT_TRUE(ok.out.ends_with(" http://static.pennant.test/static/phone/canvas.html\n")) << ok.out;

    const auto posted = run(tool::FetchCommand(), {"--post-body", "a=1", "http://ads.pennant.test/ad_source.php"});
    EXPECT_EQ(posted.status, 0);
    EXPECT_EQ(server.requests().back().method, "POST");

    const auto missing = run(tool::FetchCommand(), {"http://ads.pennant.test/missing"});
    EXPECT_EQ(missing.out, "error kPennantURLDownloadErrorDomain -3\n");
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(run(tool::FetchCommand(), {"--map", "bad", "http://x.test/"}).status, 2);
}

TEST(PennantFetch, EncodeAndQueryParsePrintTheConversions) {
    EXPECT_EQ(run(tool::EncodeCommand(), {"a b&c"}).out, "a%20b%26c\n");
    EXPECT_EQ(run(tool::QueryParseCommand(), {"A=1&b=2;c&d=x=y"}).out, R"({"a":"1","b":"2"})" "\n");
    EXPECT_EQ(run(tool::EncodeCommand(), {}).status, 2);
}
