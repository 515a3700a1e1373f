#pragma once

#include "adserver/AdServer.h"
#include "platform/foundation/Clock.h"
#include "platform/foundation/RunLoop.h"
#include "platform/net/HostMap.h"
#include "json/JSONDeserializer.h"

#include <gtest/gtest.h>

#include <string>

namespace testing_support {

// The ad server on an ephemeral loopback port, with the client's host names pointed at it,
// for the lifetime of one test.
class LoopbackServer {
public:
    LoopbackServer() : server_(adserver::AdServer::Options{}) {
        const auto started = server_.start();
        EXPECT_TRUE(started.ok()) << (started.ok() ? "" : started.error().message);
        for (const char* host : {"ads.pennant.test", "static.pennant.test"})
            net::HostMap::shared().map(host, "127.0.0.1", server_.port());
        foundation::RunLoop::main().setClock(std::make_shared<foundation::RealClock>());
    }
    ~LoopbackServer() {
        net::HostMap::shared().clear();
        server_.stop();
    }

    adserver::AdServer& server() { return server_; }
    int port() const { return server_.port(); }
    // "http://ads.pennant.test" followed by the path.
    static std::string adURL(const std::string& path) { return "http://ads.pennant.test" + path; }

    void addFault(const std::string& description) {
        const auto parsed = json::JSONDeserializer().deserializeAsDictionary(description);
        ASSERT_TRUE(parsed.ok()) << description;
        auto rule = adserver::FaultPlan::parse(parsed.value());
        ASSERT_TRUE(rule.ok()) << description;
        ASSERT_TRUE(server_.faults().add(rule.value()).ok()) << description;
    }

    std::vector<adserver::Journal::Entry> requests() { return server_.journal().entries(); }

private:
    adserver::AdServer server_;
};

} // namespace testing_support
