#include "LoopbackNetwork.h"

#include "ads/request/Endpoints.h"
#include "platform/foundation/Sandbox.h"
#include "platform/net/HostMap.h"

#include <unistd.h>

LoopbackNetwork::LoopbackNetwork(const std::string& name)
    : home_(std::filesystem::temp_directory_path() / (name + "-" + std::to_string(::getpid()))),
      server_(adserver::AdServer::Options{}) {}

LoopbackNetwork::~LoopbackNetwork() {
    net::HostMap::shared().clear();
    server_.stop();
    std::error_code ignored;
    std::filesystem::remove_all(home_, ignored);
}

foundation::Status LoopbackNetwork::start() {
    // A home left by an earlier run with the same process id is stale.
    std::error_code ignored;
    std::filesystem::remove_all(home_, ignored);
    if (auto made = foundation::Sandbox::current().setHome(home_.string()); !made)
        return made;
    if (auto started = server_.start(); !started)
        return started;
    for (const auto host :
         {pennant::Endpoints::kAdRequestHost, pennant::Endpoints::kStaticContentHostName})
        net::HostMap::shared().map(std::string(host), "127.0.0.1", server_.port());
    return foundation::success();
}
