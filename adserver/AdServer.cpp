#include "adserver/AdServer.h"

#include "adserver/Catalog.h"
#include "adserver/FaultResponder.h"
#include "adserver/GuardedServer.h"
#include "adserver/NetworkRoutes.h"
#include "platform/foundation/Dictionary.h"
#include "json/JSONDeserializer.h"
#include "json/JSONSerializer.h"

#include <httplib.h>

#include <sys/socket.h>

#include <charconv>
#include <chrono>
#include <optional>

namespace adserver {

namespace {

constexpr std::size_t kMaxRequestBodyBytes = 1024 * 1024;
// The library listens with a backlog of 5; a client opening many connections at once would see
// handshakes dropped and retried seconds later.
constexpr int kListenBacklog = 128;

foundation::Error serverError(std::string message) {
    return {"AdServerErrorDomain", -1, std::move(message)};
}

double secondsSince1970() {
    return std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

Journal::Entry entryFor(const httplib::Request& request) {
    Journal::Entry entry;
    entry.method = request.method;
    entry.path = request.path;
    const auto question = request.target.find('?');
    if (question != std::string::npos)
        entry.query = request.target.substr(question + 1);
    for (const auto& [name, value] : request.headers)
        if (name != "REMOTE_ADDR" && name != "REMOTE_PORT" && name != "LOCAL_ADDR" &&
            name != "LOCAL_PORT")
            entry.headers.emplace_back(name, value);
    entry.body = request.body;
    entry.time = secondsSince1970();
    return entry;
}

void sendJSON(httplib::Response& response, const foundation::Value& value) {
    const auto text = json::JSONSerializer().serializeObject(value);
    response.set_content(text ? text.value() : "{}", "application/json");
}

void sendError(httplib::Response& response, int status, const std::string& message) {
    response.status = status;
    sendJSON(response, foundation::Dictionary{{"error", message}});
}

// The named query parameter as a count, the fallback when it is absent; nullopt when it is not
// a number.
std::optional<std::size_t> countParameter(const httplib::Request& request, const char* name,
                                          std::size_t fallback) {
    if (!request.has_param(name))
        return fallback;
    const std::string text = request.get_param_value(name);
    const char* const last = text.data() + text.size();
    std::size_t count = 0;
    const auto [end, error] = std::from_chars(text.data(), last, count);
    if (error != std::errc() || end != last)
        return std::nullopt;
    return count;
}

} // namespace

std::string AdServer::defaultCatalogDirectory() { return ADSERVER_CATALOG_DIR; }

std::string AdServer::defaultGeneratedDirectory() { return ADSERVER_GENERATED_DIR; }

AdServer::AdServer(Options options)
    : options_(std::move(options)), responder_(std::make_unique<FaultResponder>()),
      server_(std::make_unique<GuardedServer>(ConnectionStream::Timeouts{
          options_.headerTimeout, options_.readTimeout, options_.writeTimeout})) {}

AdServer::~AdServer() { stop(); }

std::string AdServer::baseURL() const {
    return "http://" + options_.host + ":" + std::to_string(port_);
}

int AdServer::pixelHits(std::string_view key) const {
    return routes_ ? routes_->pixelHits(key) : 0;
}

foundation::Status AdServer::start() {
    if (thread_.joinable())
        return serverError("the server is already running");
    auto catalog = Catalog::load(options_.catalogDirectory, options_.generatedDirectory);
    if (!catalog)
        return catalog.error();
    catalog_ = catalog.value();
    if (!options_.firstAd.empty() && !catalog_->startRotationAt(options_.firstAd))
        return serverError("the catalogue has no ad '" + options_.firstAd + "'");
    routes_ = std::make_unique<NetworkRoutes>(
        catalog_, options_.adHost, [this](double seconds) { responder_->sleep(seconds); });
    server_->set_payload_max_length(kMaxRequestBodyBytes);
    installControlRoutes();
    installRedirectRoutes();
    routes_->install(*server_, [this](NetworkRoutes::Handler handler) -> NetworkRoutes::Handler {
        return [this, handler = std::move(handler)](const auto& request, auto& response) {
            if (!intercept(request, response))
                handler(request, response);
        };
    });
    installFallbackRoutes();
    int listener = -1;
    server_->set_socket_options([&listener](int socket) {
        // Address reuse lets a restarted server take its port back at once; unlike the
        // library's default this does not let a second server share a port that is in use.
        const int yes = 1;
        ::setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
        listener = socket;
    });
    port_ = options_.port == 0
                ? server_->bind_to_any_port(options_.host)
                : (server_->bind_to_port(options_.host, options_.port) ? options_.port : -1);
    if (port_ <= 0)
        return serverError("cannot listen on " + options_.host + ":" +
                           std::to_string(options_.port));
    ::listen(listener, kListenBacklog); // on a listening socket this only raises the backlog
    thread_ = std::thread([this] { server_->listen_after_bind(); });
    // stop() only reaches a server that is already accepting, so wait until it is.
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!server_->is_running() && std::chrono::steady_clock::now() < giveUp)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return foundation::success();
}

void AdServer::stop() {
    if (!thread_.joinable())
        return;
    responder_->stop();
    server_->stopServing();
    thread_.join();
}

bool AdServer::intercept(const httplib::Request& request, httplib::Response& response) {
    journal_.record(entryFor(request));
    const auto rule = faults_.take(request.method, request.path);
    return rule && responder_->apply(*rule, request, response);
}

void AdServer::installControlRoutes() {
    server_->Get("/__journal", [this](const httplib::Request& request, auto& response) {
        const auto offset = countParameter(request, "offset", 0);
        const auto limit = countParameter(request, "limit", Journal::kDefaultPageEntries);
        if (!offset || !limit)
            return sendError(response, 400, "\"offset\" and \"limit\" are entry counts");
        sendJSON(response, journal_.toValue(*offset, *limit));
    });
    server_->Post("/__journal/clear", [this](const auto&, auto& response) {
        journal_.clear();
        sendJSON(response, journal_.toValue());
    });
    server_->Get("/__faults",
                 [this](const auto&, auto& response) { sendJSON(response, faults_.toValue()); });
    server_->Post("/__faults/clear", [this](const auto&, auto& response) {
        faults_.clear();
        sendJSON(response, faults_.toValue());
    });
    server_->Post(
        "/__faults", [this](const httplib::Request& request, httplib::Response& response) {
            const auto description = json::JSONDeserializer().deserializeAsDictionary(request.body);
            auto rule = description ? FaultPlan::parse(description.value())
                                    : foundation::Result<FaultPlan::Rule>(description.error());
            if (!rule)
                return sendError(response, 400, rule.error().message);
            if (const auto added = faults_.add(std::move(rule.value())); !added)
                return sendError(response, 409, added.error().message);
            sendJSON(response, faults_.toValue());
        });
}

void AdServer::installRedirectRoutes() {
    auto journaled = [this](auto member) -> httplib::Server::Handler {
        return [this, member](const httplib::Request& request, httplib::Response& response) {
            journal_.record(entryFor(request));
            ((*responder_).*member)(request, response);
        };
    };
    server_->Get(R"(/__hop/(\d{1,4}))", journaled(&FaultResponder::hop));
    server_->Get(R"(/__loop/([ab]))", journaled(&FaultResponder::loop));
}

// Unknown paths are journaled (and can be faulted) like any other request, then answer 404.
void AdServer::installFallbackRoutes() {
    auto notFound = [this](const httplib::Request& request, httplib::Response& response) {
        if (intercept(request, response))
            return;
        response.status = 404;
        response.set_content("not found\n", "text/plain");
    };
    server_->Get(".*", notFound);
    server_->Post(".*", notFound);
    server_->Put(".*", notFound);
    server_->Delete(".*", notFound);
    server_->Patch(".*", notFound);
}

} // namespace adserver
