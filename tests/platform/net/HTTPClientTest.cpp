#include "platform/net/HTTPClient.h"
#include "platform/foundation/Clock.h"
#include "platform/foundation/RunLoop.h"
#include "tests/support/FreshPlatformContext.h"
#include "tests/support/HTTPEvents.h"
#include "tests/support/HTTPTasks.h"
#include "tests/support/LoopbackServer.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

using namespace net;
using foundation::RunLoop;
using foundation::Seconds;
using testing_support::HTTPEvents;
using testing_support::HTTPTasks;
using testing_support::LoopbackServer;

namespace {

constexpr Seconds kBound{20};

// Everything a task reported, in order.
struct Recorder {
    std::vector<std::string> events;
    std::vector<std::string> redirects;
    std::optional<HTTPResponse> response;
    std::string body;
    std::optional<HTTPFailure> failure;
    bool ended = false;

    HTTPTask::Callbacks callbacks() {
        HTTPTask::Callbacks c;
        c.redirect = [this](const std::string& url) {
            events.push_back("redirect");
            redirects.push_back(url);
        };
        c.response = [this](const HTTPResponse& r) {
            events.push_back("response");
            response = r;
        };
        c.data = [this](std::span<const std::uint8_t> chunk) {
            if (events.empty() || events.back() != "data")
                events.push_back("data");
            body.append(chunk.begin(), chunk.end());
        };
        c.finish = [this] {
            events.push_back("finish");
            ended = true;
        };
        c.failure = [this](const HTTPFailure& f) {
            events.push_back("failure");
            failure = f;
            ended = true;
        };
        return c;
    }
    bool wait() {
        return RunLoop::main().runUntil([this] { return ended; }, kBound);
    }
};

std::shared_ptr<HTTPTask> get(const std::string& url, Recorder& recorder,
                              Seconds timeout = Seconds(10)) {
    HTTPRequest request;
    request.url = url;
    request.timeout = timeout;
    return HTTPClient::shared().start(std::move(request), recorder.callbacks());
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
    HTTPEvents events;
    auto task =
        HTTPTasks::start("http://127.0.0.1:" + std::to_string(ntohs(address.sin_port)) + "/",
                         events.callbacks(), std::move(headers));
    EXPECT_TRUE(HTTPTasks::finish({task}));
    server.join();
    ::close(listener);
    return head;
}

class HTTPClientTest : public ::testing::Test {
protected:
    LoopbackServer server;
};

} // namespace

TEST_F(HTTPClientTest, MappedHostAnswersWithResponseThenBodyThenFinish) {
    Recorder recorder;
    ASSERT_TRUE(get(LoopbackServer::adURL("/static/phone/canvas.html"), recorder));
    ASSERT_TRUE(recorder.wait());
    EXPECT_EQ(recorder.events, (std::vector<std::string>{"response", "data", "finish"}));
    EXPECT_EQ(recorder.response->statusCode, 200);
    EXPECT_EQ(recorder.response->header("content-type"), "text/html; charset=utf-8");
    EXPECT_NE(recorder.body.find("function cb("), std::string::npos);
    // The server saw the client's host name, not the address it was mapped to.
    const auto entry = server.requests().back();
    EXPECT_EQ(entry.path, "/static/phone/canvas.html");
    bool sawHost = false;
    for (const auto& [name, value] : entry.headers)
        sawHost = sawHost || (name == "Host" && value == "ads.pennant.test");
    EXPECT_TRUE(sawHost);
}

TEST_F(HTTPClientTest, BodyMakesAPostAndHeadersCannotBeSmuggled) {
    Recorder recorder;
    HTTPRequest request;
    request.url = LoopbackServer::adURL("/ad_source.php");
    request.body = foundation::Data::fromString("rt=1&ex=1");
    request.headers = {{"X-Good", "yes"}, {"X-Bad", "a\r\nX-Injected: 1"}};
    ASSERT_TRUE(HTTPClient::shared().start(std::move(request), recorder.callbacks()));
    ASSERT_TRUE(recorder.wait());
    const auto entry = server.requests().back();
    EXPECT_EQ(entry.method, "POST");
    EXPECT_EQ(entry.body, "rt=1&ex=1");
    std::vector<std::string> names;
    for (const auto& [name, value] : entry.headers)
        names.push_back(name);
    EXPECT_NE(std::ranges::find(names, "X-Good"), names.end());
    EXPECT_EQ(std::ranges::find(names, "X-Bad"), names.end());
    EXPECT_EQ(std::ranges::find(names, "X-Injected"), names.end());
}

TEST_F(HTTPClientTest, EveryRedirectIsReportedBeforeTheFinalResponse) {
    server.addFault(R"({"path": "/old", "redirects": 3, "to": "/static/phone/canvas.html"})");
    Recorder recorder;
    get(LoopbackServer::adURL("/old"), recorder);
    ASSERT_TRUE(recorder.wait());
    EXPECT_EQ(recorder.events, (std::vector<std::string>{"redirect", "redirect", "redirect",
                                                         "response", "data", "finish"}));
    EXPECT_EQ(recorder.redirects.back(), "http://ads.pennant.test/static/phone/canvas.html");
    EXPECT_EQ(recorder.response->url, recorder.redirects.back());
}

TEST_F(HTTPClientTest, RedirectLoopStopsAtTheLimit) {
    server.addFault(R"({"path": "/spin", "loop": true})");
    Recorder recorder;
    get(LoopbackServer::adURL("/spin"), recorder);
    ASSERT_TRUE(recorder.wait());
    ASSERT_TRUE(recorder.failure);
    EXPECT_EQ(recorder.failure->reason, HTTPFailure::Reason::TooManyRedirects);
    EXPECT_EQ(recorder.redirects.size(), static_cast<std::size_t>(HTTPClient::kMaxRedirects));
}

TEST_F(HTTPClientTest, ResponsesBeyondTheLimitsFail) {
    server.addFault(R"({"path": "/huge", "oversize": true})");
    server.addFault(R"({"path": "/cut", "close": true})");
    Recorder huge, cut;
    get(LoopbackServer::adURL("/huge"), huge);
    get(LoopbackServer::adURL("/cut"), cut);
    ASSERT_TRUE(huge.wait());
    ASSERT_TRUE(cut.wait());
    ASSERT_TRUE(huge.failure);
    EXPECT_EQ(huge.failure->reason, HTTPFailure::Reason::ResponseTooLarge);
    EXPECT_LE(huge.body.size(), HTTPClient::kMaxBodyBytes);
    ASSERT_TRUE(cut.failure);
    EXPECT_EQ(cut.failure->reason, HTTPFailure::Reason::ConnectionLost);
}

TEST_F(HTTPClientTest, EachRequestMayCarryItsOwnBodyLimit) {
    const std::size_t overDefault = HTTPRequest::kDefaultMaxBodyBytes + 4096;
    server.addFault(R"({"path": "/movie", "oversize": )" + std::to_string(overDefault) + "}");
    server.addFault(R"({"path": "/small", "oversize": 2000})");
    Recorder raised, lowered;
    HTTPRequest movie;
    movie.url = LoopbackServer::adURL("/movie");
    movie.maxBodyBytes = 2 * HTTPRequest::kDefaultMaxBodyBytes;
    HTTPRequest small;
    small.url = LoopbackServer::adURL("/small");
    small.maxBodyBytes = 1000;
    auto first = HTTPClient::shared().start(std::move(movie), raised.callbacks());
    auto second = HTTPClient::shared().start(std::move(small), lowered.callbacks());
    ASSERT_TRUE(raised.wait());
    ASSERT_TRUE(lowered.wait());
    EXPECT_FALSE(raised.failure);
    EXPECT_EQ(raised.body.size(), overDefault);
    ASSERT_TRUE(lowered.failure);
    EXPECT_EQ(lowered.failure->reason, HTTPFailure::Reason::ResponseTooLarge);
}

TEST_F(HTTPClientTest, SilentServerTimesOutAndRefusedConnectionFails) {
    server.addFault(R"({"path": "/slow", "delay": 10})");
    Recorder slow, refused;
    get(LoopbackServer::adURL("/slow"), slow, Seconds(0.3));
    get("http://127.0.0.1:1/", refused);
    ASSERT_TRUE(slow.wait());
    ASSERT_TRUE(refused.wait());
    EXPECT_EQ(slow.failure->reason, HTTPFailure::Reason::TimedOut);
    EXPECT_EQ(refused.failure->reason, HTTPFailure::Reason::CouldNotConnect);
}

TEST_F(HTTPClientTest, OnlyHttpAndHttpsStart) {
    Recorder recorder;
    EXPECT_FALSE(get("ftp://ads.pennant.test/file", recorder));
    EXPECT_FALSE(get("file:///etc/passwd", recorder));
    EXPECT_FALSE(get("not a url", recorder));
    EXPECT_TRUE(HTTPClient::isSupportedURL("HTTPS://ads.pennant.test/"));
}

TEST_F(HTTPClientTest, CancelInsideACallbackStopsEverythingAfterIt) {
    Recorder recorder;
    std::shared_ptr<HTTPTask> task;
    auto callbacks = recorder.callbacks();
    auto record = callbacks.response;
    callbacks.response = [&](const HTTPResponse& response) {
        record(response);
        task->cancel();
    };
    task = HTTPClient::shared().start(
        HTTPRequest{
            LoopbackServer::adURL("/static/phone/ads/garden-banner.png"), {}, {}, Seconds(10), {}},
        std::move(callbacks));
    ASSERT_TRUE(RunLoop::main().runUntil([&] { return task->isDone(); }, kBound));
    // Whatever the worker had already posted is dropped; the loop then has nothing to wait for.
    RunLoop::main().runFor(Seconds(0.2));
    EXPECT_EQ(recorder.events, std::vector<std::string>{"response"});
}

TEST_F(HTTPClientTest, VirtualClockWaitsForAPendingAnswer) {
    server.addFault(R"({"path": "/late", "delay": 0.3})");
    auto clock = std::make_shared<foundation::VirtualClock>(1000.0);
    RunLoop::main().setClock(clock);
    std::vector<std::string> order;
    foundation::Timer timer;
    timer.start(Seconds(5), false, [&] { order.push_back("timer"); });
    Recorder recorder;
    auto callbacks = recorder.callbacks();
    auto finish = callbacks.finish;
    callbacks.finish = [&] {
        order.push_back("answer");
        finish();
    };
    HTTPClient::shared().start(HTTPRequest{LoopbackServer::adURL("/late"), {}, {}, Seconds(10), {}},
                               std::move(callbacks));
    RunLoop::main().runUntil([&] { return order.size() == 2; }, kBound);
    RunLoop::main().setClock(std::make_shared<foundation::RealClock>());
    EXPECT_EQ(order, (std::vector<std::string>{"answer", "timer"}));
}

TEST_F(HTTPClientTest, CancelFromEveryCallbackEndsDelivery) {
    for (const std::string kind : {"", "redirect", "response", "data", "finish"}) {
        server.addFault(R"({"path": "/start", "redirects": 1, "to": "/big"})");
        server.addFault(R"({"path": "/big", "oversize": 200000})");
        HTTPEvents events;
        std::shared_ptr<HTTPTask> task;
        task = HTTPTasks::start(LoopbackServer::adURL("/start"),
                                events.callbacks([&](const std::string& event) {
                                    if (event == kind)
                                        task->cancel();
                                }));
        if (kind.empty())
            task->cancel();
        ASSERT_TRUE(HTTPTasks::finish({task})) << kind;
        RunLoop::main().runFor(Seconds(0.3)); // whatever the worker already posted is dropped
        if (kind.empty()) {
            EXPECT_TRUE(events.seen.empty());
        } else {
            EXPECT_EQ(events.seen.back(), kind) << events.seen.size() << " events";
            EXPECT_EQ(std::ranges::count(events.seen, kind), 1) << kind;
        }
    }
}

TEST_F(HTTPClientTest, RequestHeadersAreSentAsGivenOrNotAtAll) {
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

TEST_F(HTTPClientTest, ManyConcurrentRequestsEachGetTheirOwnAnswer) {
    constexpr int kCount = 40;
    std::vector<HTTPEvents> events(kCount);
    std::vector<std::shared_ptr<HTTPTask>> tasks;
    for (int i = 0; i < kCount; ++i)
        tasks.push_back(
            HTTPTasks::start(LoopbackServer::adURL(i % 2 ? "/static/phone/ads/garden-banner.png"
                                                         : "/static/phone/canvas.html"),
                             events[i].callbacks()));
    ASSERT_TRUE(HTTPTasks::finish(tasks));
    EXPECT_GT(events[1].body.size(), 1000u);
    for (int i = 0; i < kCount; ++i) {
        EXPECT_EQ(events[i].seen.front(), "response") << i << ": " << events[i].failure;
        EXPECT_EQ(events[i].seen.back(), "finish") << i;
        EXPECT_EQ(events[i].body, events[i % 2].body) << i;
    }
}

namespace {

// Every completion the client publishes while it lives, as "METHOD URL STATUS" or "... failed".
struct Completions {
    std::vector<std::string> seen;
    std::vector<HTTPFailure::Reason> failures;
    foundation::Subscription subscription =
        HTTPClient::shared().addCompletionObserver([this](const HTTPCompletion& completion) {
            seen.push_back(completion.method + " " + completion.url + " " +
                           (completion.failure ? "failed" : std::to_string(completion.statusCode)));
            if (completion.failure)
                failures.push_back(*completion.failure);
        });
};

} // namespace

TEST_F(HTTPClientTest, EachRequestCompletesOnceWithItsStatusOrFailure) {
    server.addFault(R"({"path": "/old", "redirects": 2, "to": "/static/phone/canvas.html"})");
    Completions completions;
    HTTPEvents ok, missing, moved, refused;
    std::size_t completionsAtFinish = 0;
    auto tasks =
        std::vector{HTTPTasks::start(LoopbackServer::adURL("/static/phone/canvas.html"),
                                     ok.callbacks([&](const std::string& event) {
                                         if (event == "finish")
                                             completionsAtFinish = completions.seen.size();
                                     })),
                    HTTPTasks::start(LoopbackServer::adURL("/missing"), missing.callbacks()),
                    HTTPTasks::start(LoopbackServer::adURL("/old"), moved.callbacks())};
    HTTPRequest post{
        "http://127.0.0.1:1/click", {}, foundation::Data::fromString("{}"), Seconds(10), {}};
    tasks.push_back(HTTPClient::shared().start(std::move(post), refused.callbacks()));
    ASSERT_TRUE(HTTPTasks::finish(tasks));
    RunLoop::main().runFor(Seconds(0.1));

    std::ranges::sort(completions.seen);
    EXPECT_EQ(completions.seen,
              (std::vector<std::string>{"GET http://ads.pennant.test/missing 404",
                                        "GET http://ads.pennant.test/old 200",
                                        "GET http://ads.pennant.test/static/phone/canvas.html 200",
                                        "POST http://127.0.0.1:1/click failed"}));
    EXPECT_EQ(completions.failures, std::vector{HTTPFailure::Reason::CouldNotConnect});
    EXPECT_GE(completionsAtFinish, 1u) << "the completion comes before the final callback";
    EXPECT_EQ(missing.seen.back(), "finish");
}

// A caller that stops reading once it has the status (as one does with an error status) has
// still had its answer; a caller that gave up before any answer has not.
TEST_F(HTTPClientTest, CancelledRequestCompletesOnlyIfItWasAnswered) {
    Completions completions;
    HTTPEvents answered, abandoned;
    std::shared_ptr<HTTPTask> task;
    task = HTTPTasks::start(LoopbackServer::adURL("/missing"),
                            answered.callbacks([&](const std::string& event) {
                                if (event == "response")
                                    task->cancel();
                            }));
    auto gone =
        HTTPTasks::start(LoopbackServer::adURL("/static/phone/canvas.html"), abandoned.callbacks());
    gone->cancel();
    ASSERT_TRUE(HTTPTasks::finish({task, gone}));
    RunLoop::main().runFor(Seconds(0.3)); // whatever the worker already posted is dropped
    EXPECT_EQ(completions.seen,
              std::vector<std::string>{"GET http://ads.pennant.test/missing 404"});
    EXPECT_TRUE(abandoned.seen.empty());
}

TEST_F(HTTPClientTest, ATaskCancelledAfterTheClientIsGoneDoesNothing) {
    server.addFault(R"({"path": "/slow", "delay": 5})");
    Recorder recorder;
    auto task = get(LoopbackServer::adURL("/slow"), recorder);
    ASSERT_TRUE(task);
    // A new process: the client and its worker thread are torn down with the old context.
    testing_support::FreshPlatformContext::relaunch();
    task->cancel();
    EXPECT_TRUE(recorder.events.empty());
}
