#pragma once

#ifndef INSIDE_ADSERVER
#error "GuardedServer.h belongs to the cpp-httplib backend: include it only from adserver"
#endif

#include "adserver/ConnectionStream.h"

#include <httplib.h>

#include <cstddef>

namespace adserver {

// The HTTP library's server with each connection held to bounds before the library parses it:
// the request line and headers must arrive whole, small enough and in time, or the client is
// refused; and stopping wakes every worker waiting on a client. One request per connection, so
// stopping never waits on a connection idling in a client's pool either.
class GuardedServer : public httplib::Server {
public:
    static constexpr std::size_t kWorkers = 32;

    explicit GuardedServer(ConnectionStream::Timeouts timeouts);
    ~GuardedServer() override;
    GuardedServer(const GuardedServer&) = delete;
    GuardedServer& operator=(const GuardedServer&) = delete;

    // Stops accepting and drops the connections still being read or written.
    void stopServing();

private:
    bool process_and_close_socket(socket_t socket) override;

    ConnectionStream::Timeouts timeouts_;
    // Readable once stopping: every wait on a client also waits on this.
    int wake_;
};

} // namespace adserver
