#pragma once

#include "ads/request/Endpoints.h"
#include "adserver/FaultPlan.h"
#include "adserver/Journal.h"
#include "platform/foundation/FileManager.h"

#include <chrono>
#include <memory>
#include <string>
#include <string_view>
#include <thread>

namespace httplib {
struct Request;
struct Response;
} // namespace httplib

namespace adserver {

class Catalog;
class FaultResponder;
class GuardedServer;
class NetworkRoutes;

// The ad network on one HTTP server: ad responses, clicks, pixels, search suggestions and
// static files from a catalogue, plus a request journal and scriptable faults. Runs on its own
// thread; start on port 0 and read port() for an ephemeral port.
class AdServer {
public:
    struct Options {
        std::string host = "127.0.0.1";
        int port = 0;
        std::string catalogDirectory = defaultCatalogDirectory();
        // Served under /static/ after the catalogue's own static files.
        std::string generatedDirectory = defaultGeneratedDirectory();
        // The catalogue ad that the rotation starts with; empty: the first.
        std::string firstAd;
        // The host names written into the URLs the server hands out.
        std::string adHost{pennant::Endpoints::kAdRequestHost};
        std::string staticHost{pennant::Endpoints::kStaticContentHostName};
        // A client has headerTimeout to send its request line and headers, and each read or
        // write of the rest must make progress within its time-out; slower clients are dropped.
        std::chrono::milliseconds headerTimeout{10000};
        std::chrono::milliseconds readTimeout{5000};
        std::chrono::milliseconds writeTimeout{5000};
    };

    // The catalogue that ships with the server.
    static std::string defaultCatalogDirectory();
    // The files the build makes for the catalogue (the video clips).
    static std::string defaultGeneratedDirectory();

    explicit AdServer(Options options);
    ~AdServer();
    AdServer(const AdServer&) = delete;
    AdServer& operator=(const AdServer&) = delete;

    // Loads the catalogue, binds and starts serving; fails with a message saying why.
    foundation::Status start();
    // Stops serving and waits for the server thread; safe to call more than once.
    void stop();

    int port() const { return port_; }
    std::string baseURL() const;
    Journal& journal() { return journal_; }
    FaultPlan& faults() { return faults_; }
    int pixelHits(std::string_view key) const;

private:
    // Journals a network request and applies the first matching fault; true when the fault
    // answered it.
    bool intercept(const httplib::Request& request, httplib::Response& response);
    void installControlRoutes();
    void installRedirectRoutes();
    void installFallbackRoutes();

    Options options_;
    int port_ = 0;
    Journal journal_;
    FaultPlan faults_;
    std::shared_ptr<Catalog> catalog_;
    std::unique_ptr<FaultResponder> responder_;
    std::unique_ptr<NetworkRoutes> routes_;
    std::unique_ptr<GuardedServer> server_;
    std::thread thread_;
};

} // namespace adserver
