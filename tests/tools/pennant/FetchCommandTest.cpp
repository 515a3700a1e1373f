#include "tools/pennant/FetchCommand.h"
#include "tests/support/LoopbackServer.h"
#include "tools/pennant/Console.h"
#include "tools/pennant/EncodeCommand.h"
#include "tools/pennant/QueryParseCommand.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <netinet/in.h>
#include <poll.h>
#include <sstream>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

struct Run {
    int status;
    std::string out;
    std::string err;
};

Run run(const tool::Command& command, std::vector<std::string> arguments) {
    std::istringstream in;
    std::ostringstream out, err;
    tool::Console console{in, out, err};
    const int status = command.run(arguments, console);
    return {status, out.str(), err.str()};
}

// A server on 127.0.0.1 that answers one request with a long body, one byte at a time, never
// pausing long enough for an idle time-out. It stops when the test is done with it.
class TricklingServer {
public:
    TricklingServer() {
        listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        EXPECT_EQ(::bind(listener_, reinterpret_cast<sockaddr*>(&address), length), 0);
        EXPECT_EQ(::listen(listener_, 1), 0);
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { serve(); });
    }
    ~TricklingServer() {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        wake_.notify_all();
        thread_.join();
        ::close(listener_);
    }
    int port() const { return port_; }

private:
    void serve() {
        pollfd pending{listener_, POLLIN, 0};
        if (::poll(&pending, 1, 10000) != 1)
            return;
        const int client = ::accept(listener_, nullptr, nullptr);
        char request[4096];
        [[maybe_unused]] const auto ignored = ::recv(client, request, sizeof request, 0);
        const std::string head = "HTTP/1.1 200 OK\r\nContent-Length: 100000\r\n\r\n";
        ::send(client, head.data(), head.size(), MSG_NOSIGNAL);
        std::unique_lock lock(mutex_);
        while (!wake_.wait_for(lock, std::chrono::milliseconds(100), [this] { return stopping_; }))
            ::send(client, "x", 1, MSG_NOSIGNAL);
        ::close(client);
    }

    int listener_ = -1;
    int port_ = 0;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stopping_ = false;
    std::thread thread_;
};

} // namespace

TEST(PennantFetch, PrintsTheOutcomeOfOneDownload) {
    testing_support::LoopbackServer server;
    const std::string map = "static.pennant.test=127.0.0.1:" + std::to_string(server.port());
    const auto ok = run(tool::FetchCommand(),
                        {"--map", map, "http://static.pennant.test/static/phone/canvas.html"});
    EXPECT_EQ(ok.status, 0);
    EXPECT_TRUE(ok.out.starts_with("ok 200 ")) << ok.out;
    EXPECT_TRUE(ok.out.ends_with(" http://static.pennant.test/static/phone/canvas.html\n"))
        << ok.out;

    const auto posted =
        run(tool::FetchCommand(), {"--post-body", "a=1", "http://ads.pennant.test/ad_source.php"});
    EXPECT_EQ(posted.status, 0);
    EXPECT_EQ(server.requests().back().method, "POST");

    const auto missing = run(tool::FetchCommand(), {"http://ads.pennant.test/missing"});
    EXPECT_EQ(missing.out, "error kPennantURLDownloadErrorDomain -3\n");
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(run(tool::FetchCommand(), {"--map", "bad", "http://x.test/"}).status, 2);
}

TEST(PennantFetch, EncodeAndQueryParsePrintTheConversions) {
    EXPECT_EQ(run(tool::EncodeCommand(), {"a b&c"}).out, "a%20b%26c\n");
    EXPECT_EQ(run(tool::QueryParseCommand(), {"A=1&b=2;c&d=x=y"}).out, R"({"a":"1","b":"2"})"
                                                                       "\n");
    EXPECT_EQ(run(tool::EncodeCommand(), {}).status, 2);
}

TEST(PennantFetch, MappedPortsMustBePorts) {
    for (const char* bad : {"99999", "99999999999", "-5", "1.5", "0", ""}) {
        const auto refused =
            run(tool::FetchCommand(),
                {"--map", std::string("h.test=127.0.0.1:") + bad, "http://h.test/"});
        EXPECT_EQ(refused.status, 2) << bad;
        EXPECT_EQ(refused.err,
                  std::string("pennant: --map port must be a whole number from 1 to 65535, not '") +
                      bad + "'\n");
        EXPECT_TRUE(refused.out.empty());
    }
    EXPECT_EQ(run(tool::FetchCommand(), {"--map", "bad", "http://x.test/"}).err,
              "pennant: --map takes HOST=ADDRESS:PORT, not 'bad'\n");
    EXPECT_EQ(run(tool::FetchCommand(), {"--wait", "nan", "http://x.test/"}).err,
              "pennant: --wait must be a number from 0.1 to 3600, not 'nan'\n");
}

// Each byte resets the download's idle time-out, so only the overall wait ends the fetch.
TEST(PennantFetch, AServerThatTricklesEndsInAFailureLineWhenTheWaitIsOver) {
    TricklingServer server;
    const std::string map = "slow.pennant.test=127.0.0.1:" + std::to_string(server.port());
    const auto slow =
        run(tool::FetchCommand(), {"--wait", "1", "--map", map, "http://slow.pennant.test/ad"});
    EXPECT_EQ(slow.out, "error kPennantURLDownloadErrorDomain -4\n");
    EXPECT_EQ(slow.status, 1);
}
