#include "adserver/AdServer.h"
#include "adserver/Catalog.h"
#include "json/JSONDeserializer.h"

#include <httplib.h>

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

using adserver::AdServer;
using foundation::Value;

namespace {

// The network routes as the ad client meets them: through a running server.
class NetworkRoutesTest : public ::testing::Test {
protected:
    NetworkRoutesTest() {
        EXPECT_TRUE(server.start().ok());
        client = std::make_unique<httplib::Client>("127.0.0.1", server.port());
    }
    static Value json(const httplib::Result& result) {
        EXPECT_TRUE(result);
        return result
                   ? json::JSONDeserializer().deserializeAsDictionary(result->body).valueOr(Value())
                   : Value();
    }

    AdServer server{AdServer::Options{}};
    std::unique_ptr<httplib::Client> client;
};

} // namespace

TEST_F(NetworkRoutesTest, SearchClicksCarryTheQueryEncodedIntoTheRedirect) {
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

TEST_F(NetworkRoutesTest, ConcurrentClientsShareOneRotationAndExactCounts) {
    const auto catalog = adserver::Catalog::load(AdServer::defaultCatalogDirectory());
    ASSERT_TRUE(catalog.ok());
    const auto ads = catalog.value()->adCount();
    // Every ad comes round the same number of times.
    const int kThreads = 4, kRequests = 3 * int(ads);
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
    ASSERT_EQ(perAd.size(), ads);
    for (const auto& [url, count] : perAd)
        EXPECT_EQ(count, kThreads * kRequests / int(ads)) << url;
    EXPECT_EQ(server.pixelHits("track/shared"), kThreads * kRequests);
    EXPECT_EQ(server.journal().entries().size(), 2u * kThreads * kRequests);
}

// A suggestion service URL can hold back the answers for one query, so that an earlier query's
// answer arrives after a later one's; other queries answer at once.
TEST_F(NetworkRoutesTest, ASlowSuggestionQueryAnswersAfterALaterOne) {
    const std::string service = "/search/suggest?src=test&slow_query=p&slow_seconds=2&query=";
    std::mutex mutex;
    std::vector<std::string> answered;
    auto ask = [&](const std::string& query) {
        httplib::Client own("127.0.0.1", server.port());
        const auto data = json(own.Get(service + query))["data"];
        std::lock_guard lock(mutex);
        answered.push_back(query + ":" + std::to_string(data.asArray().size()));
    };
    std::thread slow(ask, "p");
    // The held-back request is in before the next one is sent.
    while (server.journal().entries().empty())
        std::this_thread::yield();
    ask("pi");
    slow.join();
    EXPECT_EQ(answered, (std::vector<std::string>{"pi:1", "p:2"}));
}
