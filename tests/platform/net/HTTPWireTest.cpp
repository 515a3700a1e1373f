#include "platform/foundation/RunLoop.h"
#include "platform/net/HTTPClient.h"
#include "platform/net/HostMap.h"
#include "tests/adserver/LoopbackServer.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <functional>
#include <string>
#include <thread>
#include <vector>

using namespace net;
using foundation::RunLoop;
using foundation::Seconds;
using testing_support::LoopbackServer;

namespace {

// Every callback as one event, each data chunk separately; `after` runs after each one.
struct Events {
    std::vector<std::string> seen;
    std::string body;
    std::string failure;

    HTTPTask::Callbacks callbacks(std::function<void(const std::string&)> after = {}) {
        auto note = [this, after](const std::string& event) {
            seen.push_back(event);
            if (after)
                after(event);
        };
        HTTPTask::Callbacks c;
        c.redirect = [note](const std::string&) { note("redirect"); };
        c.response = [note](const HTTPResponse&) { note("response"); };
        c.data = [this, note](std::span<const std::uint8_t> chunk) {
            body.append(chunk.begin(), chunk.end());
            note("data");
        };
        c.finish = [note] { note("finish"); };
        c.failure = [this, note](const HTTPFailure& failure) {
            this->failure = failure.message;
            note("failure");
        };
        return c;
    }
};

std::shared_ptr<HTTPTask> start(const std::string& url, HTTPTask::Callbacks callbacks,
                                std::vector<std::pair<std::string, std::string>> headers = {}) {
    return HTTPClient::shared().start(HTTPRequest{url, std::move(headers), {}, Seconds(10), {}},
                                      std::move(callbacks));
}

bool finish(const std::vector<std::shared_ptr<HTTPTask>>& tasks) {
    return RunLoop::main().runUntil(
        [&] { return std::ranges::all_of(tasks, [](const auto& task) { return task->isDone(); }); },
        Seconds(20));
}

std::optional<std::string> sentHeader(const adserver::Journal::Entry& entry,
                                      const std::string& name) {
    for (const auto& [key, value] : entry.headers)
        if (key == name)
            return value;
    return std::nullopt;
}

// The raw head of one request, as sent: the ad server's parser would tidy some of it away.
std::string sentHead(std::vector<std::pair<std::string, std::string>> headers) {
    const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    EXPECT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), length), 0);
    ::listen(listener, 1);
    ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
    std::string head;
    std::thread server([&] {
        const int fd = ::accept(listener, nullptr, nullptr);
        char buffer[4096];
        for (ssize_t got; head.find("\r\n\r\n") == std::string::npos &&
                          (got = ::recv(fd, buffer, sizeof buffer, 0)) > 0;)
            head.append(buffer, static_cast<std::size_t>(got));
        const std::string reply = "HTTP/1.1 204 No Content\r\nConnection: close\r\n\r\n";
        ::send(fd, reply.data(), reply.size(), MSG_NOSIGNAL);
        ::close(fd);
    });
    Events events;
    auto task = start("http://127.0.0.1:" + std::to_string(ntohs(address.sin_port)) + "/",
                      events.callbacks(), std::move(headers));
    EXPECT_TRUE(finish({task}));
    server.join();
    ::close(listener);
    return head;
}

class HTTPWire : public ::testing::Test {
protected:
    LoopbackServer server;
};

} // namespace

TEST_F(HTTPWire, CancelFromEveryCallbackEndsDelivery) {
    for (const std::string kind : {"", "redirect", "response", "data", "finish"}) {
        server.addFault(R"({"path": "/start", "redirects": 1, "to": "/big"})");
        server.addFault(R"({"path": "/big", "oversize": 200000})");
        Events events;
        std::shared_ptr<HTTPTask> task;
        task =
            start(LoopbackServer::adURL("/start"), events.callbacks([&](const std::string& event) {
                if (event == kind)
                    task->cancel();
            }));
        if (kind.empty())
            task->cancel();
        ASSERT_TRUE(finish({task})) << kind;
        RunLoop::main().runFor(Seconds(0.3)); // whatever the worker already posted is dropped
        if (kind.empty()) {
            EXPECT_TRUE(events.seen.empty());
        } else {
            EXPECT_EQ(events.seen.back(), kind) << events.seen.size() << " events";
            EXPECT_EQ(std::ranges::count(events.seen, kind), 1) << kind;
        }
    }
}

TEST_F(HTTPWire, RequestHeadersAreSentAsGivenOrNotAtAll) {
    const std::string head = sentHead({{"X-Plain", "v"},
                                       {"X-Empty", ""},
                                       {"X-Lf", "a\nInjected: 1"},
                                       {"X-Cr\r", "b"},
                                       {"", "nameless"},
                                       {"User-Agent", "Kessa/1.0"}});
    EXPECT_NE(head.find("\r\nX-Plain: v\r\n"), std::string::npos) << head;
    EXPECT_NE(head.find("\r\nX-Empty:"), std::string::npos) << head;
    EXPECT_NE(head.find("\r\nUser-Agent: Kessa/1.0\r\n"), std::string::npos) << head;
    for (const char* absent : {"Injected", "X-Lf", "X-Cr", "nameless"})
        EXPECT_EQ(head.find(absent), std::string::npos) << absent << " in " << head;
}

TEST_F(HTTPWire, ManyConcurrentRequestsEachGetTheirOwnAnswer) {
    constexpr int kCount = 40;
    std::vector<Events> events(kCount);
    std::vector<std::shared_ptr<HTTPTask>> tasks;
    for (int i = 0; i < kCount; ++i)
        tasks.push_back(start(LoopbackServer::adURL(i % 2 ? "/static/phone/ads/garden-banner.png"
                                                          : "/static/phone/canvas.html"),
                              events[i].callbacks()));
    ASSERT_TRUE(finish(tasks));
    EXPECT_GT(events[1].body.size(), 1000u);
    for (int i = 0; i < kCount; ++i) {
        EXPECT_EQ(events[i].seen.front(), "response") << i << ": " << events[i].failure;
        EXPECT_EQ(events[i].seen.back(), "finish") << i;
        EXPECT_EQ(events[i].body, events[i % 2].body) << i;
    }
}

TEST_F(HTTPWire, MappedNamesMatchWithoutCase) {
    HostMap::shared().map("Mixed.Case.Test", "::1", 8080);
    const auto entries = HostMap::shared().connectToEntries();
    EXPECT_NE(std::ranges::find(entries, "mixed.case.test::[::1]:8080"), entries.end());
    HostMap::shared().unmap("mixed.CASE.test");
    EXPECT_FALSE(HostMap::shared().isMapped("Mixed.Case.Test"));
    // Neither the URL's case nor its port matters; the Host header keeps what the URL said.
    Events events;
    auto task = start("http://ADS.Pennant.Test:9/static/phone/canvas.html", events.callbacks());
    ASSERT_TRUE(finish({task}));
    EXPECT_EQ(events.seen.back(), "finish");
    EXPECT_EQ(sentHeader(server.requests().back(), "Host"), "ADS.Pennant.Test:9");
}
