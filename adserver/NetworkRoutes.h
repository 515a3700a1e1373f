#pragma once

#ifndef INSIDE_ADSERVER
#error "NetworkRoutes.h belongs to the cpp-httplib backend: include it only from adserver"
#endif

#include <httplib.h>

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

namespace adserver {

class Catalog;

// The paths the ad client asks for: ad requests and analytics visits, clicks, display
// pixels, search suggestions and results, and the static files. A suggestion service URL may
// carry "slow_query" and "slow_seconds": answers for exactly that query are held back that
// long, so a demo or test can make an earlier query's answer arrive after a later one's.
class NetworkRoutes {
public:
    using Handler = httplib::Server::Handler;
    // Wraps a handler with what every network request gets (journal, faults).
    using Wrap = std::function<Handler(Handler)>;

    // Waits the given seconds, cut short when the server stops.
    using Pause = std::function<void(double)>;
    // Longest a slow suggestion answer may be held back.
    static constexpr double kMaxSuggestDelaySeconds = 10;

    NetworkRoutes(std::shared_ptr<Catalog> catalog, std::string adHost, Pause pause);

    void install(httplib::Server& server, const Wrap& wrap);
    int pixelHits(std::string_view key) const;

private:
    void adRequest(const httplib::Request& request, httplib::Response& response) const;
    void click(const httplib::Request& request, httplib::Response& response) const;
    void pixel(const httplib::Request& request, httplib::Response& response);
    void suggest(const httplib::Request& request, httplib::Response& response) const;
    void searchResults(const httplib::Request& request, httplib::Response& response) const;
    void staticFile(const httplib::Request& request, httplib::Response& response) const;

    std::shared_ptr<Catalog> catalog_;
    std::string adHost_;
    Pause pause_;
    mutable std::mutex mutex_;
    std::map<std::string, int, std::less<>> pixelHits_;
};

} // namespace adserver
