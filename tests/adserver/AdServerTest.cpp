#include "adserver/AdServer.h"
#include "json/JSONDeserializer.h"

#include <httplib.h>

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <set>
#include <thread>

using adserver::AdServer;
using foundation::Value;

namespace {

class AdServerTest : public ::testing::Test {
protected:
    AdServerTest() : server(AdServer::Options{}), client("127.0.0.1", started(server)) {}
    static int started(AdServer& adServer) {
        EXPECT_TRUE(adServer.start().ok());
        return adServer.port();
    }
    Value json(const httplib::Result& result) {
        EXPECT_TRUE(result);
        return result ? json::JSONDeserializer().deserializeAsDictionary(result->body).valueOr(Value())
                      : Value();
    }
    // Writes raw bytes on a fresh connection and reads whatever comes back.
    std::string raw(const std::string& bytes,
                    std::chrono::milliseconds hesitation = std::chrono::milliseconds(0)) {
        const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<std::uint16_t>(server.port()));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        std::string reply;
        if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
            std::this_thread::sleep_for(hesitation);
            (void)!::write(fd, bytes.data(), bytes.size());
            const timeval patience{0, 500000};
            ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &patience, sizeof patience);
            char buffer[4096];
            for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;)
                reply.append(buffer, static_cast<std::size_t>(n));
        }
        ::close(fd);
        return reply;
    }

    AdServer server;
    httplib::Client client;
};

} // namespace

TEST_F(AdServerTest, AdRequestsRotateAndTestActionSelects) {
    std::set<std::string> texts;
    for (int i = 0; i < 3; ++i)
        texts.emplace(json(client.Get("/ad_source.php?s=1"))["jsonp_url"].asString());
    EXPECT_EQ(texts.size(), 3u);
    const Value ad = json(client.Get("/ad_source.php?test_action=call"));
    EXPECT_EQ(ad["6"].asString(), "call");
    EXPECT_EQ(ad["jsonp_url"].asString(), "http://ads.pennant.test/click/pizza-call");
    EXPECT_EQ(ad["cpm_url"].asString(), "http://ads.pennant.test/pixel/cpm/pizza-call");
    EXPECT_EQ(ad["204"].asString(), "/static/phone/ads/pizza-tile.png");
    EXPECT_TRUE(json(client.Get("/ad_source.php?test_action=screen"))["markup"].isDictionary());
}

TEST_F(AdServerTest, ClicksAnswerTheirAdsClickResponse) {
    const Value call = json(client.Post("/click/pizza-call", R"({"interactions":[]})", "text/plain"));
    EXPECT_EQ(call["redirect_url"].asString(), "tel:5550100");
    EXPECT_TRUE(call["acquisition_url"].isString());
    const Value search = json(client.Post("/click/web-search", R"({"query":"pizza & beer"})", "text/plain"));
    EXPECT_EQ(search["redirect_url"].asString(), "http://ads.pennant.test/search/results?q=pizza%20%26%20beer");
    EXPECT_EQ(json(client.Post("/click/bakery-contact", "", "text/plain"))["contact"]["organization"].asString(),
              "Corner Bakery");
    EXPECT_EQ(client.Post("/click/nobody", "", "text/plain")->status, 404);
}

TEST_F(AdServerTest, PixelsSuggestionsAndAnalyticsAnswer) {
    EXPECT_EQ(client.Get("/pixel/cpm/kessa-url")->status, 204);
    client.Get("/pixel/cpm/kessa-url");
    EXPECT_EQ(server.pixelHits("cpm/kessa-url"), 2);
    EXPECT_EQ(server.pixelHits("track/kessa-url"), 0);
    const Value suggestions = json(client.Get("/search/suggest?src=banner&query=PIZ"));
    EXPECT_EQ(suggestions["data"], Value(Value::Array{Value("pizza near me")}));
    EXPECT_EQ(client.Post("/ad_source.php", "rt=1&ex=1", "application/x-www-form-urlencoded")->status, 200);
    EXPECT_EQ(client.Get("/search/results?q=%3Cb%3E")->body.find("<b>"), std::string::npos);
}

TEST_F(AdServerTest, StaticFilesAreServedAndNothingOutsideTheCatalogue) {
    for (const char* name : {"back", "back_disable", "forward", "forward_disable"}) {
        auto icon = client.Get(std::string("/static/phone/browser/") + name + ".png");
        ASSERT_TRUE(icon);
        EXPECT_EQ(icon->status, 200);
        EXPECT_EQ(icon->get_header_value("Content-Type"), "image/png");
    }
    EXPECT_EQ(client.Get("/static/phone/img/call.png")->status, 200);
    EXPECT_EQ(client.Get("/static/phone/canvas.html")->status, 200);
    EXPECT_EQ(client.Get("/static/phone/i18n/20091119/xx.strings")->status, 404);
    for (const char* path : {"/static/../ads.json", "/static/phone/%2e%2e/%2e%2e/ads.json",
                             "/static/phone/i18n/20091119/.gitkeep", "/static/phone/img"})
        EXPECT_EQ(client.Get(path)->status, 404) << path;
    EXPECT_EQ(client.Get("/nowhere")->status, 404);
}

TEST_F(AdServerTest, JournalRecordsEveryNetworkRequestUntilCleared) {
    client.Post("/ad_source.php?visit=1", httplib::Headers{{"X-Test", "yes"}}, "p=Landing%20Page",
                "application/x-www-form-urlencoded");
    client.Get("/unknown/path");
    const Value requests = json(client.Get("/__journal"))["requests"];
    ASSERT_EQ(requests.asArray().size(), 2u);
    EXPECT_EQ(requests[0]["method"].asString(), "POST");
    EXPECT_EQ(requests[0]["path"].asString(), "/ad_source.php");
    EXPECT_EQ(requests[0]["query"].asString(), "visit=1");
    EXPECT_EQ(requests[0]["body"].asString(), "p=Landing%20Page");
    EXPECT_EQ(requests[0]["headers"]["X-Test"].asString(), "yes");
    EXPECT_GT(requests[0]["time"].doubleValue(), 1e9);
    EXPECT_EQ(requests[1]["path"].asString(), "/unknown/path");
    client.Post("/__journal/clear", "", "text/plain");
    EXPECT_TRUE(json(client.Get("/__journal"))["requests"].asArray().empty());
}

TEST_F(AdServerTest, ScriptedFaultsApplyToTheirCount) {
    EXPECT_EQ(client.Post("/__faults", R"({"path": "/ad_source.php", "status": 503, "count": 2})",
                          "application/json")->status, 200);
    EXPECT_EQ(client.Post("/__faults", R"({"path": "/x"})", "application/json")->status, 400);
    EXPECT_EQ(client.Post("/__faults", "not json", "application/json")->status, 400);
    EXPECT_EQ(client.Get("/ad_source.php")->status, 503);
    EXPECT_EQ(client.Get("/ad_source.php")->status, 503);
    EXPECT_EQ(client.Get("/ad_source.php")->status, 200);
    client.Post("/__faults", R"({"path": "/static/*", "redirects": 2})", "application/json");
    client.set_follow_location(true);
    auto followed = client.Get("/static/phone/canvas.html");
    EXPECT_EQ(followed->status, 200);
    EXPECT_EQ(server.journal().entries().size(), 6u);
}

TEST_F(AdServerTest, MalformedOrSlowRequestsAreAnsweredOrDropped) {
    raw("GARBAGE\r\n\r\n");
    raw(std::string(100000, 'A'));
    raw("GET /ad_source.php HTTP/1.1\r\nHost: x\r\nContent-Length: -5\r\n\r\n");
    raw("POST /ad_source.php HTTP/1.1\r\nHost: x\r\nContent-Length: 99999999999\r\n\r\nabc");
    raw("GET /static/%zz%00 HTTP/1.1\r\nHost: x\r\n\r\n");
    EXPECT_NE(raw("GET /ad_source.php HTTP/1.0\r\n\r\n").find("200 OK"), std::string::npos);
    // A request that is slow to follow its connection (a busy client) is still answered.
    EXPECT_NE(raw("GET /ad_source.php HTTP/1.1\r\nHost: x\r\n\r\n", std::chrono::milliseconds(200))
                  .find("200 OK"),
              std::string::npos);
    EXPECT_EQ(client.Get("/ad_source.php")->status, 200);
}

TEST_F(AdServerTest, APortInUseIsRefusedAndABurstOfConnectionsIsAllAccepted) {
    AdServer::Options options;
    options.port = server.port();
    AdServer second(options);
    const auto started = second.start();
    ASSERT_FALSE(started.ok());
    EXPECT_NE(started.error().message.find("cannot listen"), std::string::npos);

    // Many handshakes at once, before the server accepts any: none may be dropped.
    std::vector<int> sockets;
    for (int i = 0; i < 60; ++i) {
        const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<std::uint16_t>(server.port()));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
        sockets.push_back(fd);
    }
    for (const int fd : sockets) {
        const std::string request = "GET /ad_source.php HTTP/1.0\r\n\r\n";
        pollfd writable{fd, POLLOUT, 0};
        ASSERT_EQ(::poll(&writable, 1, 500), 1) << "a handshake was not completed at once";
        EXPECT_EQ(::write(fd, request.data(), request.size()), static_cast<ssize_t>(request.size()));
    }
    for (const int fd : sockets)
        ::close(fd);
}
