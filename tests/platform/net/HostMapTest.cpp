#include "platform/net/HostMap.h"
#include "adserver/Journal.h"
#include "platform/foundation/RunLoop.h"
#include "platform/net/HTTPClient.h"
#include "tests/support/HTTPEvents.h"
#include "tests/support/HTTPTasks.h"
#include "tests/support/LoopbackServer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <utility>
#include <vector>

using namespace net;
using foundation::RunLoop;
using testing_support::HTTPEvents;
using testing_support::HTTPTasks;
using testing_support::LoopbackServer;

namespace {

std::optional<std::string> sentHeader(const adserver::Journal::Entry& entry,
                                      const std::string& name) {
    for (const auto& [key, value] : entry.headers)
        if (key == name)
            return value;
    return std::nullopt;
}

class HostMapTest : public ::testing::Test {
protected:
    LoopbackServer server;
};

} // namespace

TEST_F(HostMapTest, MappedNamesMatchWithoutCase) {
    HostMap::shared().map("Mixed.Case.Test", "::1", 8080);
    const auto entries = HostMap::shared().connectToEntries();
    EXPECT_NE(std::ranges::find(entries, "mixed.case.test::[::1]:8080"), entries.end());
    HostMap::shared().unmap("mixed.CASE.test");
    EXPECT_FALSE(HostMap::shared().isMapped("Mixed.Case.Test"));
    // Neither the URL's case nor its port matters; the Host header keeps what the URL said.
    HTTPEvents events;
    auto task =
        HTTPTasks::start("http://ADS.Pennant.Test:9/static/phone/canvas.html", events.callbacks());
    ASSERT_TRUE(HTTPTasks::finish({task}));
    EXPECT_EQ(events.seen.back(), "finish");
    EXPECT_EQ(sentHeader(server.requests().back(), "Host"), "ADS.Pennant.Test:9");
}
