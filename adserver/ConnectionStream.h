#pragma once

#ifndef INSIDE_ADSERVER
#error "ConnectionStream.h belongs to the cpp-httplib backend: include it only from adserver"
#endif

#include <httplib.h>

#include <chrono>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace adserver {

// One accepted connection as the HTTP library reads and writes it. Every wait is bounded by a
// time-out and ends at once when the server's wake descriptor becomes readable, so no client can
// hold a worker past either.
class ConnectionStream : public httplib::Stream {
public:
    struct Timeouts {
        // The request line and headers must all arrive within this.
        std::chrono::milliseconds head;
        // Longest wait for each read or write to make progress.
        std::chrono::milliseconds read;
        std::chrono::milliseconds write;
    };
    // Incomplete: the client stopped, ran out of time, or the server is stopping.
    enum class Head { Complete, TooLarge, Incomplete };

    ConnectionStream(int socket, int wakeDescriptor, Timeouts timeouts);

    // Buffers the request line and headers before the library parses them, refusing a header
    // section larger than maxBytes or with more than maxHeaders lines after the request line.
    Head readHead(std::size_t maxBytes, std::size_t maxHeaders);
    // A request as a proxy receives it names its host in the request line ("GET http://host/path").
    // When isServed accepts that host the line is rewritten to the path alone, as a request sent
    // to the server itself; false when it names another host or asks for a tunnel (CONNECT).
    bool acceptProxiedRequest(const std::function<bool(std::string_view host)>& isServed);
    // Answers a request refused before parsing with a bare status line, then closes gently
    // enough that the client reads it rather than a reset.
    void refuse(int status, const char* reason);

    bool is_readable() const override;
    bool is_writable() const override;
    ssize_t read(char* ptr, size_t size) override;
    ssize_t write(const char* ptr, size_t size) override;
    void get_remote_ip_and_port(std::string& ip, int& port) const override;
    void get_local_ip_and_port(std::string& ip, int& port) const override;
    socket_t socket() const override { return socket_; }

private:
    // True when the socket is ready for the events within the time-out and the server is not
    // stopping.
    bool wait(short events, std::chrono::milliseconds timeout) const;
    // Appends what the socket has after waiting up to the time-out: the byte count, 0 at the
    // end of the stream, -1 when the wait or the read failed.
    ssize_t fill(std::chrono::milliseconds timeout);
    // Reads and discards what the client still sends, for a little while.
    void drain();

    int socket_;
    int wake_;
    Timeouts timeouts_;
    std::string buffer_;
    std::size_t consumed_ = 0;
};

} // namespace adserver
