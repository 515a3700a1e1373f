#include "adserver/AdServer.h"
#include "tests/support/SlowClient.h"
#include "json/JSONDeserializer.h"

#include <httplib.h>

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <future>
#include <set>
#include <thread>

using adserver::AdServer;
using foundation::Value;
using testing_support::SlowClient;

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
        return result
                   ? json::JSONDeserializer().deserializeAsDictionary(result->body).valueOr(Value())
                   : Value();
    }
    httplib::Result addFault(const std::string& rule) {
        return client.Post("/__faults", rule, "application/json");
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
            (void)!::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
            const timeval patience{0, 500000};
            ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &patience, sizeof patience);
            char buffer[4096];
            for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;)
                reply.append(buffer, static_cast<std::size_t>(n));
        }
        ::close(fd);
        return reply;
    }

    // A request with this many "X-Header-<n>: <value>" lines.
    static std::string withHeaders(std::size_t count, const std::string& value = "v") {
        std::string request = "GET /ad_source.php HTTP/1.1\r\nHost: x\r\n";
        for (std::size_t i = 1; i < count; ++i)
            request += "X-Header-" + std::to_string(i) + ": " + value + "\r\n";
        return request + "\r\n";
    }
    // Starts many slow clients at once, each sending up to maxLines header lines; the futures
    // say which were dropped.
    static std::vector<std::future<bool>> slowClients(int port, int count, int maxLines) {
        std::vector<std::future<bool>> dropped;
        for (int i = 0; i < count; ++i)
            dropped.push_back(std::async(std::launch::async,
                                         [client = std::make_shared<SlowClient>(port), maxLines] {
                                             return client->droppedWithin(maxLines);
                                         }));
        return dropped;
    }

    AdServer server;
    httplib::Client client;
};

// The library's default number of workers on a small machine: every one busy with a slow client.
constexpr int kSlowClients = 8;
// At 25 ms a line, ten seconds: far past any deadline the tests set.
constexpr int kSlowLines = 400;

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
    const Value call =
        json(client.Post("/click/pizza-call", R"({"interactions":[]})", "text/plain"));
    EXPECT_EQ(call["redirect_url"].asString(), "tel:5550100");
    EXPECT_TRUE(call["acquisition_url"].isString());
    const Value search =
        json(client.Post("/click/web-search", R"({"query":"pizza & beer"})", "text/plain"));
    EXPECT_EQ(search["redirect_url"].asString(),
              "http://ads.pennant.test/search/results?q=pizza%20%26%20beer");
    EXPECT_EQ(
        json(client.Post("/click/bakery-contact", "", "text/plain"))["contact"]["organization"]
            .asString(),
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
    EXPECT_EQ(
        client.Post("/ad_source.php", "rt=1&ex=1", "application/x-www-form-urlencoded")->status,
        200);
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
    EXPECT_EQ(client
                  .Post("/__faults", R"({"path": "/ad_source.php", "status": 503, "count": 2})",
                        "application/json")
                  ->status,
              200);
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
        EXPECT_EQ(::write(fd, request.data(), request.size()),
                  static_cast<ssize_t>(request.size()));
    }
    for (const int fd : sockets)
        ::close(fd);
}

TEST_F(AdServerTest, OverLargeHeaderSectionsAreRefusedBeforeTheyAreJournaled) {
    EXPECT_TRUE(raw(withHeaders(20000)).starts_with("HTTP/1.1 431 ")) << "20,000 headers";
    EXPECT_TRUE(raw(withHeaders(adserver::Journal::kMaxHeaders + 1)).starts_with("HTTP/1.1 431 "));
    const std::string long8k(8000, 'v');
    // Host and then enough long headers to pass the byte bound.
    const std::size_t tooLong = adserver::Journal::kMaxHeaderBytes / long8k.size() + 2;
    EXPECT_TRUE(raw(withHeaders(tooLong, long8k)).starts_with("HTTP/1.1 431 "));
    EXPECT_TRUE(server.journal().entries().empty());

    EXPECT_NE(raw(withHeaders(adserver::Journal::kMaxHeaders)).find("200 OK"), std::string::npos);
    const auto entries = server.journal().entries();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].headers.size(), adserver::Journal::kMaxHeaders);
}

TEST_F(AdServerTest, AsAProxyItAnswersForTheTestHostsAndRefusesEveryOtherHost) {
    const std::string canvas = raw("GET http://static.pennant.test:80/static/phone/canvas.html "
                                   "HTTP/1.1\r\nHost: static.pennant.test\r\n\r\n");
    EXPECT_TRUE(canvas.starts_with("HTTP/1.1 200 ")) << canvas;
    EXPECT_TRUE(raw("GET HTTP://Static.Pennant.TEST?x=1 HTTP/1.1\r\nHost: a.test\r\n\r\n")
                    .starts_with("HTTP/1.1 404 "));
    const auto entries = server.journal().entries();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].path, "/static/phone/canvas.html");
    EXPECT_EQ(entries[1].path, "/");
    EXPECT_EQ(entries[1].query, "x=1");

    for (const char* refused :
         {"GET http://example.com/static/phone/canvas.html HTTP/1.1\r\nHost: example.com\r\n\r\n",
          "GET http://evil.test.example.com/ HTTP/1.1\r\nHost: x\r\n\r\n",
          "GET http://static.pennant.test@example.com/ HTTP/1.1\r\nHost: x\r\n\r\n",
          "CONNECT static.pennant.test:443 HTTP/1.1\r\nHost: static.pennant.test\r\n\r\n"})
        EXPECT_TRUE(raw(refused).starts_with("HTTP/1.1 403 ")) << refused;
    EXPECT_EQ(server.journal().entries().size(), 2u);
}

TEST_F(AdServerTest, TheJournalAnswersInPages) {
    for (int i = 0; i < 150; ++i)
        server.journal().record({"GET", std::to_string(i), "", {}, "", 0});
    const Value first = json(client.Get("/__journal"));
    ASSERT_EQ(first["requests"].asArray().size(), 100u);
    EXPECT_EQ(first["next"].intValue(), 100);
    EXPECT_EQ(first["total"].intValue(), 150);
    EXPECT_EQ(first["dropped"].intValue(), 0);
    const Value rest = json(client.Get("/__journal?offset=100&limit=1000"));
    ASSERT_EQ(rest["requests"].asArray().size(), 50u);
    EXPECT_EQ(rest["requests"][0]["path"].asString(), "100");
    EXPECT_EQ(json(client.Get("/__journal?offset=10&limit=2"))["requests"][1]["path"].asString(),
              "11");
    for (const char* bad : {"/__journal?limit=many", "/__journal?offset=-1",
                            "/__journal?limit=", "/__journal?offset=99999999999999999999999"}) {
        const auto refused = client.Get(bad);
        EXPECT_EQ(refused->status, 400) << bad;
        EXPECT_FALSE(json(refused)["error"].asString().empty()) << bad;
    }
}

TEST_F(AdServerTest, SlowClientsAreDroppedAndTheServerStillAnswers) {
    AdServer::Options options;
    options.headerTimeout = std::chrono::milliseconds(200);
    options.readTimeout = options.writeTimeout = std::chrono::seconds(2);
    AdServer guarded(options);
    ASSERT_TRUE(guarded.start().ok());
    auto dropped = slowClients(guarded.port(), kSlowClients, kSlowLines);
    httplib::Client patient("127.0.0.1", guarded.port());
    patient.set_read_timeout(std::chrono::seconds(30));
    const auto answer = patient.Get("/ad_source.php");
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->status, 200);
    for (auto& each : dropped)
        EXPECT_TRUE(each.get());
}

TEST_F(AdServerTest, StoppingDropsClientsStillSendingTheirHeaders) {
    AdServer::Options options;
    options.headerTimeout = std::chrono::minutes(10);
    AdServer patient(options);
    ASSERT_TRUE(patient.start().ok());
    auto dropped = slowClients(patient.port(), kSlowClients, kSlowLines);
    patient.stop();
    for (auto& each : dropped)
        EXPECT_TRUE(each.get());
}

TEST_F(AdServerTest, TheFaultPlanRefusesRulesPastItsBound) {
    const std::string rule = R"({"path": "/a", "status": 500})";
    for (std::size_t i = 0; i < adserver::FaultPlan::kMaxRules; ++i)
        ASSERT_EQ(client.Post("/__faults", rule, "application/json")->status, 200) << i;
    const auto refused = client.Post("/__faults", rule, "application/json");
    EXPECT_EQ(refused->status, 409);
    EXPECT_NE(json(refused)["error"].asString().find("full"), std::string::npos);
    client.Post("/__faults/clear", "", "text/plain");
    EXPECT_EQ(client.Post("/__faults", rule, "application/json")->status, 200);
}

TEST_F(AdServerTest, RedirectFaultsNeverLeadOffTheServer) {
    client.Post("/__faults", R"({"path": "*", "redirects": 1, "count": 0})", "application/json");
    for (const char* target : {"//evil.example", "/\\evil.example", "http://evil.example/"}) {
        const std::string reply =
            raw(std::string("GET ") + target + " HTTP/1.1\r\nHost: x\r\n\r\n");
        EXPECT_EQ(reply.find("Location"), std::string::npos) << target << "\n" << reply;
        // A host outside the test names is refused before any route sees it.
        EXPECT_TRUE(reply.starts_with(target[0] == 'h' ? "HTTP/1.1 403 " : "HTTP/1.1 400 "))
            << target;
    }
    EXPECT_NE(raw("GET /nowhere HTTP/1.1\r\nHost: x\r\n\r\n").find("Location: /nowhere"),
              std::string::npos);
}

TEST_F(AdServerTest, FaultsFilterByMethodCountDownAndRefuseNonsense) {
    ASSERT_EQ(
        addFault(R"({"path":"/ad_source.php","method":"POST","status":418,"count":2})")->status,
        200);
    EXPECT_EQ(client.Get("/ad_source.php")->status, 200);
    EXPECT_EQ(client.Post("/ad_source.php", "", "text/plain")->status, 418);
    EXPECT_EQ(json(client.Get("/__faults"))["faults"][0]["count"].intValue(), 1);
    for (const char* rule :
         {R"({"path":"/a","status":500,"count":-1})", R"({"path":"/a","oversize":-5})",
          R"({"path":"/a","oversize":false})", R"({"path":"/a","status":4294967796})",
          R"({"path":"/a","redirects":4294967298})", R"({"path":"/a","delay":-1})",
          R"({"path":"/a","redirects":2,"to":"/\\evil.test/"})", R"({"path":"/a","close":false})",
          R"({"path":"","status":500})", R"([{"path":"/a","status":500}])"}) {
        const auto refused = addFault(rule);
        EXPECT_EQ(refused->status, 400) << rule;
        EXPECT_FALSE(json(refused)["error"].asString().empty()) << rule;
    }
    EXPECT_EQ(json(client.Get("/__faults"))["faults"].asArray().size(), 1u);
    EXPECT_EQ(client.Post("/ad_source.php", "", "text/plain")->status, 418);
    EXPECT_TRUE(json(client.Get("/__faults"))["faults"].asArray().empty());
}

TEST_F(AdServerTest, RedirectHopsNeverLeaveTheServer) {
    for (const char* target :
         {"/__hop/1?to=%2F%2Fevil.test", "/__hop/1?to=%2F%5Cevil.test",
          "/__hop/1?to=%2F%09%2Fevil.test", "/__hop/2?to=%2Fa%0D%0AX-Evil%3A%201",
          "/__hop/1?to=http%3A%2F%2Fevil.test%2F", "/__hop/1"})
        EXPECT_EQ(client.Get(target)->status, 400) << target;
    client.set_follow_location(true);
    EXPECT_EQ(client.Get("/__hop/3?to=%2Fstatic%2Fphone%2Fcanvas.html")->status, 200);
    EXPECT_EQ(server.journal().entries().size(), 10u);
}

TEST_F(AdServerTest, StoppingWakesADelayedRequest) {
    ASSERT_EQ(addFault(R"({"path":"/ad_source.php","delay":120})")->status, 200);
    std::thread waiting([port = server.port()] {
        httplib::Client slow("127.0.0.1", port);
        slow.set_read_timeout(std::chrono::seconds(150));
        slow.Get("/ad_source.php");
    });
    // The journal records a request before its fault is applied.
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (server.journal().entries().empty() && std::chrono::steady_clock::now() < giveUp)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    // A hang guard far below the fault's delay, not a speed check: before, stop() waited for
    // the delayed answer.
    const auto start = std::chrono::steady_clock::now();
    server.stop();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(60));
    waiting.join();
}
