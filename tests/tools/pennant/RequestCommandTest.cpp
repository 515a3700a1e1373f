#include "tools/pennant/RequestCommand.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/ScratchDirectory.h"
#include "tools/pennant/Console.h"
#include "json/JSONDeserializer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

using foundation::Dictionary;
using foundation::Value;
using testing_support::LoopbackServer;

namespace {

struct Run {
    int status;
    std::string out;
    std::string err;
    // The printed object; empty when the output is not one.
    Dictionary printed() const {
        const auto parsed = json::JSONDeserializer().deserializeAsDictionary(out);
        return parsed ? parsed.value().asDictionary() : Dictionary();
    }
};

Run request(std::vector<std::string> arguments) {
    std::istringstream in;
    std::ostringstream out, err;
    tool::Console console{in, out, err};
    const int status = tool::RequestCommand().run(arguments, console);
    return {status, out.str(), err.str()};
}

std::string serverOf(const LoopbackServer& server) {
    return "http://127.0.0.1:" + std::to_string(server.port());
}

class RequestCommandTest : public ::testing::Test {
protected:
    void TearDown() override { std::filesystem::remove_all(directory); }

    std::string write(const std::string& name, const std::string& contents) {
        const auto path = directory / name;
        std::ofstream(path) << contents;
        return path.string();
    }
    std::size_t count(LoopbackServer& server, const std::string& method,
                      const std::string& pathPrefix) {
        const auto entries = server.requests();
        return std::ranges::count_if(entries, [&](const auto& entry) {
            return entry.method == method && entry.path.starts_with(pathPrefix);
        });
    }

    std::filesystem::path directory = testing_support::ScratchDirectory::create("pennant-request");
};

} // namespace

TEST_F(RequestCommandTest, APlainAdFromTheBundledCataloguePrintsHowItWasRead) {
    const auto loaded = request({});
    ASSERT_EQ(loaded.status, 0) << loaded.err;
    const auto printed = loaded.printed();
    EXPECT_EQ(printed.get("state").intValue(), 6) << loaded.out;
    EXPECT_TRUE(printed.contains("text") || printed.contains("userImage")) << loaded.out;
    const auto& query = printed.get("query").asDictionary();
    for (const char* key : {"s", "f", "v", "ad_type"})
        EXPECT_TRUE(query.contains(key)) << key << " in " << loaded.out;
    EXPECT_EQ(query.get("s").stringValue(), "a1b2c3d4e5f6a7b");
    EXPECT_EQ(query.get("ad_type").stringValue(), "bar");
}

TEST_F(RequestCommandTest, TheDelegateFileAnswersTheRequest) {
    LoopbackServer server;
    const auto file = write("host.json", R"({"publisherId": "feedfacecafe123", "useTestAd": true,
        "testAdAction": "call", "keywords": "pizza night", "postalCode": "H2X 1Y4",
        "gender": "f", "dateOfBirth": "1980-02-29", "mayAskForLocation": true, "location": [45.5, -73.6]})");
    const auto loaded = request({"--server", serverOf(server), "--delegate", file});
    ASSERT_EQ(loaded.status, 0) << loaded.err;
    const auto printed = loaded.printed();
    EXPECT_EQ(printed.get("opener").asDictionary().get("action").intValue(), 4) << loaded.out;
    const auto& query = printed.get("query").asDictionary();
    EXPECT_EQ(query.get("s").stringValue(), "feedfacecafe123");
    EXPECT_EQ(query.get("test_action").stringValue(), "call");
    EXPECT_EQ(query.get("k").stringValue(), "pizza night") << loaded.out;
    EXPECT_EQ(query.get("d[pc]").stringValue(), "H2X 1Y4");
    EXPECT_EQ(query.get("d[dob]").stringValue(), "19800229");
    EXPECT_TRUE(query.get("d[coord]").stringValue().starts_with("45.5")) << loaded.out;
}

TEST_F(RequestCommandTest, AClickFiresThePixelsAndPostsOnce) {
    LoopbackServer server;
    const auto file = write("host.json", R"({"useTestAd": true, "testAdAction": "url"})");
    const auto clicked = request({"--server", serverOf(server), "--delegate", file, "--click",
                                  "--click-data", R"({"x": "12"})"});
    ASSERT_EQ(clicked.status, 0) << clicked.err;
    const auto printed = clicked.printed();
    const auto& click = printed.get("click").asDictionary();
    EXPECT_TRUE(click.get("succeeded").boolValue()) << clicked.out;
    EXPECT_TRUE(click.get("response").isDictionary()) << clicked.out;
    EXPECT_EQ(count(server, "POST", "/click/kessa-url"), 1u);
    EXPECT_EQ(count(server, "GET", "/pixel/cpm/kessa-url"), 1u);
    EXPECT_EQ(count(server, "GET", "/pixel/track/kessa-url"), 1u);
}

TEST_F(RequestCommandTest, BadDelegateFilesAreRefusedWithAMessage) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"not JSON", "is not a JSON object"},
        {R"({"keywords": 5})", R"("keywords" must be a string)"},
        {R"({"useTestAd": "yes"})", R"("useTestAd" must be true or false)"},
        {R"({"dateOfBirth": "1981-02-29"})", R"("dateOfBirth" must be a date YYYY-MM-DD)"},
        {R"({"dateOfBirth": "81-2-3"})", R"("dateOfBirth" must be a date YYYY-MM-DD)"},
        {R"({"location": [1]})", R"("location" must be an array [latitude, longitude])"},
        {R"({"adBackgroundColor": [1, 0, "0", 1]})", R"("adBackgroundColor" must be an array)"},
    };
    for (const auto& [contents, message] : cases) {
        const auto refused = request({"--delegate", write("bad.json", contents)});
        EXPECT_EQ(refused.status, 2) << contents;
        EXPECT_TRUE(refused.err.find(message) != std::string::npos) << refused.err;
        EXPECT_TRUE(refused.out.empty());
    }
    const auto missing = request({"--delegate", (directory / "none.json").string()});
    EXPECT_EQ(missing.status, 2);
    EXPECT_TRUE(missing.err.starts_with("pennant: cannot read the delegate file")) << missing.err;
}

TEST_F(RequestCommandTest, BadOptionsAreUsageErrors) {
    for (const std::vector<std::string>& bad : {std::vector<std::string>{"--format", "2"},
                                                {"--server", "127.0.0.1:80"},
                                                {"--server", "http://127.0.0.1:0"},
                                                {"--click-data", "{}"},
                                                {"--click", "--click-data", "[1]"},
                                                {"--home"},
                                                {"extra"}})
        EXPECT_EQ(request(bad).status, 2) << bad[0];
    EXPECT_EQ(request({"--format", "2"}).err,
              "pennant: --format must be a whole number from 0 to 1, not '2'\n");
    EXPECT_TRUE(request({"--help"}).out.starts_with("usage: pennant request"));
}

TEST_F(RequestCommandTest, AnAdRequestTheServerFailsPrintsTheFailedState) {
    LoopbackServer server;
    server.addFault(R"({"path": "/ad_source.php", "status": 500})");
    const auto failed = request({"--server", serverOf(server)});
    EXPECT_EQ(failed.out, "{\"state\":7,\"failed\":true}\n");
    EXPECT_EQ(failed.status, 1);
}

TEST_F(RequestCommandTest, ATemporaryHomeIsRemovedAtTheEndAndAGivenOneKept) {
    const auto temporary = directory / "tmp";
    std::filesystem::create_directories(temporary);
    const char* previous = std::getenv("TMPDIR");
    const std::string saved = previous ? previous : "";
    ::setenv("TMPDIR", temporary.c_str(), 1);
    const auto run = request({});
    previous ? ::setenv("TMPDIR", saved.c_str(), 1) : ::unsetenv("TMPDIR");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(std::filesystem::is_empty(temporary));

    const auto home = directory / "home";
    EXPECT_EQ(request({"--home", home.string()}).status, 0);
    EXPECT_TRUE(std::filesystem::is_directory(home / "Library"));
}

TEST_F(RequestCommandTest, AFlexAdPrintsTheViewTreeItBuilt) {
    const auto file = write("host.json", R"({"useTestAd": true, "testAdAction": "kessa-flex"})");
    const auto loaded = request({"--delegate", file});
    ASSERT_EQ(loaded.status, 0) << loaded.err << loaded.out;
    const auto printed = loaded.printed();
    const auto& flex = printed.get("flex");
    EXPECT_EQ(flex["kind"].stringValue(), "FlexAdContainerView") << loaded.out;
    EXPECT_EQ(flex["uiTag"].stringValue(), "container");
    std::vector<std::string> kinds;
    for (const auto& view : flex["subviews"].asArray())
        kinds.push_back(view["kind"].stringValue());
    ASSERT_EQ(kinds, (std::vector<std::string>{"PlainView", "ImageView", "LabelView"}));
    const auto logo = flex["subviews"].asArray()[1]["frame"].asArray();
    ASSERT_EQ(logo.size(), 4u);
    EXPECT_EQ(logo[0].doubleValue(), 5);
    EXPECT_EQ(logo[3].doubleValue(), 38);
}
