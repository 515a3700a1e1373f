#include "platform/net/HostMap.h"

#include "platform/foundation/ASCII.h"
#include "platform/foundation/Singleton.h"

#include <algorithm>
#include <cctype>

namespace net {

HostMap& HostMap::shared() { return foundation::Singleton<HostMap>::shared(); }

void HostMap::map(const std::string& host, const std::string& address, int port) {
    // IPv6 literals need brackets in a host:port pair.
    const bool v6 = address.find(':') != std::string::npos && !address.starts_with('[');
    const std::string target = (v6 ? "[" + address + "]" : address) + ":" + std::to_string(port);
    std::lock_guard lock(mutex_);
    targets_[foundation::ASCII::lowercased(host)] = target;
}

void HostMap::unmap(const std::string& host) {
    std::lock_guard lock(mutex_);
    targets_.erase(foundation::ASCII::lowercased(host));
}

void HostMap::clear() {
    std::lock_guard lock(mutex_);
    targets_.clear();
}

bool HostMap::isMapped(const std::string& host) const {
    std::lock_guard lock(mutex_);
    return targets_.contains(foundation::ASCII::lowercased(host));
}

std::vector<std::string> HostMap::connectToEntries() const {
    std::lock_guard lock(mutex_);
    std::vector<std::string> entries;
    for (const auto& [host, target] : targets_)
        entries.push_back(host + "::" + target);
    return entries;
}

} // namespace net
