#include "adserver/ConnectionStream.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <cctype>
#include <cerrno>

namespace adserver {

namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;

constexpr std::size_t kReadChunk = 4096;
// Closing with unread input makes the kernel reset the connection, and a client can lose the
// answer to that: after a refusal this much more is read and thrown away first.
constexpr std::size_t kMaxDrainBytes = 1024 * 1024;
constexpr milliseconds kMaxDrainTime{500};

milliseconds until(steady_clock::time_point deadline) {
    return std::chrono::ceil<milliseconds>(deadline - steady_clock::now());
}

void describeAddress(const sockaddr_storage& address, std::string& ip, int& port) {
    char text[INET6_ADDRSTRLEN] = "";
    if (address.ss_family == AF_INET) {
        const auto& v4 = reinterpret_cast<const sockaddr_in&>(address);
        ::inet_ntop(AF_INET, &v4.sin_addr, text, sizeof text);
        port = ntohs(v4.sin_port);
    } else if (address.ss_family == AF_INET6) {
        const auto& v6 = reinterpret_cast<const sockaddr_in6&>(address);
        ::inet_ntop(AF_INET6, &v6.sin6_addr, text, sizeof text);
        port = ntohs(v6.sin6_port);
    }
    ip = text;
}

} // namespace

ConnectionStream::ConnectionStream(int socket, int wakeDescriptor, Timeouts timeouts)
    : socket_(socket), wake_(wakeDescriptor), timeouts_(timeouts) {}

ConnectionStream::Head ConnectionStream::readHead(std::size_t maxBytes, std::size_t maxHeaders) {
    const auto deadline = steady_clock::now() + timeouts_.head;
    std::size_t scanned = 0;
    std::size_t lines = 0;
    for (;;) {
        // The section ends with an empty line; lines are counted as they arrive.
        const auto end = buffer_.find("\n\r\n", scanned < 2 ? 0 : scanned - 2);
        const std::size_t headBytes = end == std::string::npos ? buffer_.size() : end + 1;
        lines += static_cast<std::size_t>(std::count(
            buffer_.begin() + static_cast<std::ptrdiff_t>(scanned),
            buffer_.begin() + static_cast<std::ptrdiff_t>(std::max(scanned, headBytes)), '\n'));
        scanned = std::max(scanned, headBytes);
        if (headBytes > maxBytes || lines > maxHeaders + 1)
            return Head::TooLarge;
        if (end != std::string::npos)
            return Head::Complete;
        const auto left = until(deadline);
        if (left.count() <= 0 || fill(std::min(timeouts_.read, left)) <= 0)
            return Head::Incomplete;
    }
}

bool ConnectionStream::acceptProxiedRequest(
    const std::function<bool(std::string_view host)>& isServed) {
    const std::string_view head(buffer_);
    const std::string_view line = head.substr(0, head.find('\r'));
    const auto methodEnd = line.find(' ');
    if (line.substr(0, methodEnd) == "CONNECT")
        return false;
    const auto targetStart = methodEnd == std::string_view::npos ? line.size() : methodEnd + 1;
    const auto targetEnd = std::min(line.find(' ', targetStart), line.size());
    const std::string_view target = line.substr(targetStart, targetEnd - targetStart);
    constexpr std::string_view kScheme = "http://";
    if (target.size() < kScheme.size() ||
        !std::equal(kScheme.begin(), kScheme.end(), target.begin(), [](char a, char b) {
            return a == std::tolower(static_cast<unsigned char>(b));
        }))
        return true;
    const auto pathStart = std::min(target.find_first_of("/?", kScheme.size()), target.size());
    std::string_view authority = target.substr(kScheme.size(), pathStart - kScheme.size());
    authority = authority.substr(authority.rfind('@') + 1);
    if (!isServed(authority.substr(0, authority.find(':'))))
        return false;
    // A copy: the target is a view of the buffer being rewritten.
    std::string path(target.substr(pathStart));
    if (!path.starts_with('/'))
        path.insert(path.begin(), '/');
    buffer_.replace(targetStart, target.size(), path);
    return true;
}

void ConnectionStream::refuse(int status, const char* reason) {
    const std::string answer = "HTTP/1.1 " + std::to_string(status) + " " + reason +
                               "\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
    if (write(answer.data(), answer.size()) > 0)
        drain();
}

void ConnectionStream::drain() {
    ::shutdown(socket_, SHUT_WR);
    const auto giveUp = steady_clock::now() + kMaxDrainTime;
    for (std::size_t drained = 0; drained < kMaxDrainBytes;) {
        consumed_ = buffer_.size();
        const auto left = until(giveUp);
        const ssize_t got = left.count() > 0 ? fill(left) : 0;
        if (got <= 0)
            return;
        drained += static_cast<std::size_t>(got);
    }
}

bool ConnectionStream::wait(short events, milliseconds timeout) const {
    pollfd descriptors[2] = {{socket_, events, 0}, {wake_, POLLIN, 0}};
    int ready = 0;
    do
        ready = ::poll(descriptors, 2,
                       static_cast<int>(std::max<milliseconds::rep>(timeout.count(), 0)));
    while (ready < 0 && errno == EINTR);
    return ready > 0 && descriptors[1].revents == 0 && descriptors[0].revents != 0;
}

ssize_t ConnectionStream::fill(milliseconds timeout) {
    if (!wait(POLLIN, timeout))
        return -1;
    if (consumed_ == buffer_.size()) {
        buffer_.clear();
        consumed_ = 0;
    }
    char chunk[kReadChunk];
    ssize_t got = 0;
    do
        got = ::recv(socket_, chunk, sizeof chunk, MSG_DONTWAIT);
    while (got < 0 && errno == EINTR);
    if (got > 0)
        buffer_.append(chunk, static_cast<std::size_t>(got));
    return got;
}

bool ConnectionStream::is_readable() const {
    return consumed_ < buffer_.size() || wait(POLLIN, timeouts_.read);
}

bool ConnectionStream::is_writable() const { return wait(POLLOUT, timeouts_.write); }

ssize_t ConnectionStream::read(char* ptr, size_t size) {
    if (consumed_ == buffer_.size()) {
        if (const ssize_t got = fill(timeouts_.read); got <= 0)
            return got;
    }
    const std::size_t count = std::min(size, buffer_.size() - consumed_);
    std::copy_n(buffer_.data() + consumed_, count, ptr);
    consumed_ += count;
    return static_cast<ssize_t>(count);
}

ssize_t ConnectionStream::write(const char* ptr, size_t size) {
    if (!is_writable())
        return -1;
    ssize_t sent = 0;
    do
        sent = ::send(socket_, ptr, size, MSG_NOSIGNAL | MSG_DONTWAIT);
    while (sent < 0 && errno == EINTR);
    return sent;
}

void ConnectionStream::get_remote_ip_and_port(std::string& ip, int& port) const {
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    if (::getpeername(socket_, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        describeAddress(address, ip, port);
}

void ConnectionStream::get_local_ip_and_port(std::string& ip, int& port) const {
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    if (::getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        describeAddress(address, ip, port);
}

} // namespace adserver
