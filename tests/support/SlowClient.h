#pragma once

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>
#include <string>

namespace testing_support {

// A client that starts a request and then sends one header line at a time, never finishing it,
// as a slow-headers attack does.
class SlowClient {
public:
    // Connects to the loopback port and sends the request line.
    explicit SlowClient(int port) : socket_(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<std::uint16_t>(port));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        EXPECT_EQ(::connect(socket_, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        send("GET /ad_source.php HTTP/1.1\r\nHost: ads.pennant.test\r\n");
    }
    ~SlowClient() { ::close(socket_); }
    SlowClient(const SlowClient&) = delete;
    SlowClient& operator=(const SlowClient&) = delete;

    // Sends up to maxLines more header lines, a few milliseconds apart; true as soon as the
    // server answers or drops the connection, false when it was still waiting after them all.
    bool droppedWithin(int maxLines) {
        for (int line = 0; line < maxLines; ++line) {
            pollfd readable{socket_, POLLIN, 0};
            if (::poll(&readable, 1, 25) != 0 || !send("X-Slow: " + std::to_string(line) + "\r\n"))
                return true;
        }
        return false;
    }

private:
    bool send(const std::string& text) {
        return ::send(socket_, text.data(), text.size(), MSG_NOSIGNAL) ==
               static_cast<ssize_t>(text.size());
    }

    int socket_;
};

} // namespace testing_support
