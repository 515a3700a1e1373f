#include "adserver/AdServer.h"
#include "json/JSONDeserializer.h"

#include <httplib.h>

#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <mutex>
#include <thread>

using adserver::AdServer;
using foundation::Value;

namespace {

class AdServerRoutes : public ::testing::Test {
  protected:
    AdServerRoutes() {
        EXPECT_TRUE(server.start().ok());
        client = std::make_unique<httplib::Client>("127.0.0.1", server.port());
    }
    static Value json(const httplib::Result& result) {
        EXPECT_TRUE(result);
        return result
                   ? json::JSONDeserializer().deserializeAsDictionary(result->body).valueOr(Value())
                   : Value();
    }
    httplib::Result addFault(const std::string& rule) {
        return client->Post("/__faults", rule, "application/json");
    }

    AdServer server{AdServer::Options{}};
    std::unique_ptr<httplib::Client> client;
};

} // namespace

TEST_F(AdServerRoutes, SearchClicksCarryTheQueryEncodedIntoTheRedirect) {
    const std::string results = "http://ads.pennant.test/search/results?q=";
    auto redirect = [&](const std::string& body) {
        return std::string(
            json(client->Post("/click/web-search", body, "text/plain"))["redirect_url"].asString());
    };
    EXPECT_EQ(redirect(R"({"query":"a+b&c=d#e/\u00fc ?%"})"),
              results + "a%2Bb%26c%3Dd%23e%2F%C3%BC%20%3F%25");
    EXPECT_EQ(redirect(R"({"query":"{query}"})"), results + "%7Bquery%7D");
    EXPECT_EQ(redirect("query=pizza"), results);
    EXPECT_EQ(redirect(""), results);
    EXPECT_EQ(std::string(json(client->Get("/click/web-search"))["redirect_url"].asString()),
              results);
}

TEST_F(AdServerRoutes, FaultsFilterByMethodCountDownAndRefuseNonsense) {
    ASSERT_EQ(
        addFault(R"({"path":"/ad_source.php","method":"POST","status":418,"count":2})")->status,
        200);
    EXPECT_EQ(client->Get("/ad_source.php")->status, 200);
    EXPECT_EQ(client->Post("/ad_source.php", "", "text/plain")->status, 418);
    EXPECT_EQ(json(client->Get("/__faults"))["faults"][0]["count"].intValue(), 1);
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
    EXPECT_EQ(json(client->Get("/__faults"))["faults"].asArray().size(), 1u);
    EXPECT_EQ(client->Post("/ad_source.php", "", "text/plain")->status, 418);
    EXPECT_TRUE(json(client->Get("/__faults"))["faults"].asArray().empty());
}

TEST_F(AdServerRoutes, RedirectHopsNeverLeaveTheServer) {
    for (const char* target : {"/__hop/1?to=%2F%2Fevil.test", "/__hop/1?to=%2F%5Cevil.test",
                               "/__hop/1?to=%2F%09%2Fevil.test", "/__hop/2?to=%2Fa%0D%0AX-Evil%3A%201",
                               "/__hop/1?to=http%3A%2F%2Fevil.test%2F", "/__hop/1"})
        EXPECT_EQ(client->Get(target)->status, 400) << target;
    client->set_follow_location(true);
    EXPECT_EQ(client->Get("/__hop/3?to=%2Fstatic%2Fphone%2Fcanvas.html")->status, 200);
    EXPECT_EQ(server.journal().entries().size(), 10u);
}

TEST_F(AdServerRoutes, StoppingWakesADelayedRequest) {
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
    const auto start = std::chrono::steady_clock::now();
    server.stop();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
    waiting.join();
}

TEST_F(AdServerRoutes, ConcurrentClientsShareOneRotationAndExactCounts) {
    constexpr int kThreads = 4, kRequests = 30;
    std::mutex mutex;
    std::map<std::string, int> perAd;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&, port = server.port()] {
            httplib::Client own("127.0.0.1", port);
            for (int i = 0; i < kRequests; ++i) {
                const std::string url(json(own.Get("/ad_source.php"))["cpm_url"].asString());
                own.Get("/pixel/track/shared");
                std::lock_guard lock(mutex);
                ++perAd[url];
            }
        });
    for (auto& thread : threads)
        thread.join();
    ASSERT_EQ(perAd.size(), 6u);
    for (const auto& [url, count] : perAd)
        EXPECT_EQ(count, kThreads * kRequests / 6) << url;
    EXPECT_EQ(server.pixelHits("track/shared"), kThreads * kRequests);
    EXPECT_EQ(server.journal().entries().size(), 2u * kThreads * kRequests);
}
