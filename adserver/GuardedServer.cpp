#include "adserver/GuardedServer.h"

#include "adserver/Journal.h"

#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <string_view>

namespace adserver {

namespace {

// As the pages' proxy the server answers for the reserved test names it stands in for, and for
// nothing else, so no page reaches the real network through it.
bool isServedHost(std::string_view host) {
    constexpr std::string_view kReservedDomain = ".test";
    return host.size() > kReservedDomain.size() &&
           std::equal(
               kReservedDomain.rbegin(), kReservedDomain.rend(), host.rbegin(),
               [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); });
}

} // namespace

GuardedServer::GuardedServer(ConnectionStream::Timeouts timeouts)
    : timeouts_(timeouts), wake_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
    // More workers than the library's default eight, so a handful of slow clients waiting out
    // their header deadline cannot hold every one of them.
    new_task_queue = [] { return new httplib::ThreadPool(kWorkers); };
}

GuardedServer::~GuardedServer() {
    if (wake_ >= 0)
        ::close(wake_);
}

void GuardedServer::stopServing() {
    const std::uint64_t one = 1;
    (void)!::write(wake_, &one, sizeof one);
    stop();
}

bool GuardedServer::process_and_close_socket(socket_t socket) {
    ConnectionStream stream(socket, wake_, timeouts_);
    bool answered = false;
    switch (stream.readHead(Journal::kMaxHeaderBytes, Journal::kMaxHeaders)) {
    case ConnectionStream::Head::Complete: {
        if (!stream.acceptProxiedRequest(isServedHost)) {
            stream.refuse(403, "Forbidden");
            break;
        }
        bool closed = true;
        answered = process_request(stream, true, closed, nullptr);
        break;
    }
    case ConnectionStream::Head::TooLarge:
        stream.refuse(431, "Request Header Fields Too Large");
        break;
    case ConnectionStream::Head::Incomplete:
        stream.refuse(408, "Request Timeout");
        break;
    }
    ::shutdown(socket, SHUT_RDWR);
    ::close(socket);
    return answered;
}

} // namespace adserver
