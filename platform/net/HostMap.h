#pragma once

#include "platform/foundation/Forward.h"

#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace net {

// Process-wide table that sends connections for a host name to another address and port,
// whatever port the URL names. The client's fixed host names reach the ad server a test or
// the simulator started this way; the Host header still names the original host.
class HostMap {
public:
    static HostMap& shared();

    void map(const std::string& host, const std::string& address, int port);
    void unmap(const std::string& host);
    void clear();
    bool isMapped(const std::string& host) const;
    // One "HOST::ADDRESS:PORT" entry per mapping, the form the transfer layer takes.
    std::vector<std::string> connectToEntries() const;

private:
    friend class foundation::Singleton<HostMap>;
    HostMap() = default;

    mutable std::mutex mutex_;
    std::map<std::string, std::string> targets_;
};

} // namespace net
