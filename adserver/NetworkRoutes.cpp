#include "adserver/NetworkRoutes.h"

#include "adserver/Catalog.h"
#include "platform/foundation/Dictionary.h"
#include "platform/foundation/PercentEncoding.h"
#include "json/JSONDeserializer.h"
#include "json/JSONSerializer.h"

#include <algorithm>
#include <cstdlib>

namespace adserver {

namespace {

void sendJSON(httplib::Response& response, const foundation::Value& value) {
    const auto text = json::JSONSerializer().serializeObject(value);
    response.set_content(text ? text.value() : "{}", "application/json");
}

void notFound(httplib::Response& response) {
    response.status = 404;
    response.set_content("not found\n", "text/plain");
}

std::string escapeHTML(std::string_view text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '&':
            out += "&amp;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

// Search ads put "{query}" in their redirect URL; the click data carries the query.
std::string withQuery(std::string url, const std::string& body) {
    const auto at = url.find("{query}");
    if (at == std::string::npos)
        return url;
    const auto clickData = json::JSONDeserializer().deserializeAsDictionary(body);
    const std::string query = clickData ? clickData.value()["query"].stringValue() : "";
    return url.replace(at, 7, foundation::PercentEncoding::encode(query));
}

// Garbage, negative and NaN give no delay at all.
double boundedSeconds(const std::string& text, double most) {
    const double seconds = std::strtod(text.c_str(), nullptr);
    return seconds > 0 ? std::min(seconds, most) : 0;
}

} // namespace

NetworkRoutes::NetworkRoutes(std::shared_ptr<Catalog> catalog, std::string adHost, Pause pause)
    : catalog_(std::move(catalog)), adHost_(std::move(adHost)), pause_(std::move(pause)) {}

void NetworkRoutes::install(httplib::Server& server, const Wrap& wrap) {
    server.Get("/ad_source.php", wrap([this](const auto& q, auto& r) { adRequest(q, r); }));
    server.Post("/ad_source.php",
                wrap([](const auto&, auto& r) { r.set_content("OK\n", "text/plain"); }));
    server.Get(R"(/click/([\w.-]+))", wrap([this](const auto& q, auto& r) { click(q, r); }));
    server.Post(R"(/click/([\w.-]+))", wrap([this](const auto& q, auto& r) { click(q, r); }));
    server.Get(R"(/pixel/(cpm|track)/([\w.-]+))",
               wrap([this](const auto& q, auto& r) { pixel(q, r); }));
    server.Get("/search/suggest", wrap([this](const auto& q, auto& r) { suggest(q, r); }));
    server.Get("/search/results", wrap([this](const auto& q, auto& r) { searchResults(q, r); }));
    server.Get(R"(/static/(.+))", wrap([this](const auto& q, auto& r) { staticFile(q, r); }));
}

void NetworkRoutes::adRequest(const httplib::Request& request, httplib::Response& response) const {
    std::optional<std::string> testAction;
    if (request.has_param("test_action"))
        testAction = request.get_param_value("test_action");
    const auto& ad = catalog_->chooseAd(testAction);
    const std::string id(ad["id"].asString());
    foundation::Dictionary answer = ad["response"].asDictionary();
    const std::string base = "http://" + adHost_;
    if (!answer.contains("jsonp_url"))
        answer.set("jsonp_url", base + "/click/" + id);
    if (!answer.contains("cpm_url"))
        answer.set("cpm_url", base + "/pixel/cpm/" + id);
    if (!answer.contains("tracking_pixel"))
        answer.set("tracking_pixel", base + "/pixel/track/" + id);
    sendJSON(response, std::move(answer));
}

void NetworkRoutes::click(const httplib::Request& request, httplib::Response& response) const {
    const auto* ad = catalog_->findAd(request.matches[1].str());
    if (!ad) {
        notFound(response);
        return;
    }
    foundation::Dictionary answer = (*ad)["click"].asDictionary();
    if (const auto* url = answer.find("redirect_url"); url && url->isString())
        answer.set("redirect_url", withQuery(std::string(url->asString()), request.body));
    sendJSON(response, std::move(answer));
}

void NetworkRoutes::pixel(const httplib::Request& request, httplib::Response& response) {
    {
        std::lock_guard lock(mutex_);
        ++pixelHits_[request.matches[1].str() + "/" + request.matches[2].str()];
    }
    response.status = 204;
}

int NetworkRoutes::pixelHits(std::string_view key) const {
    std::lock_guard lock(mutex_);
    const auto it = pixelHits_.find(key);
    return it == pixelHits_.end() ? 0 : it->second;
}

void NetworkRoutes::suggest(const httplib::Request& request, httplib::Response& response) const {
    const std::string query = request.has_param("query") ? request.get_param_value("query")
                                                         : request.get_param_value("q");
    if (request.has_param("slow_query") && request.get_param_value("slow_query") == query)
        pause_(boundedSeconds(request.get_param_value("slow_seconds"), kMaxSuggestDelaySeconds));
    foundation::Value::Array data;
    for (auto& text : catalog_->suggestionsFor(query))
        data.emplace_back(std::move(text));
    sendJSON(response, foundation::Dictionary{{"data", std::move(data)}});
}

void NetworkRoutes::searchResults(const httplib::Request& request,
                                  httplib::Response& response) const {
    const std::string query = escapeHTML(request.get_param_value("q"));
    response.set_content("<!DOCTYPE html>\n<html><head><title>Results for " + query +
                             "</title></head>\n<body><h1>Results for " + query +
                             "</h1><p>Nothing here yet.</p></body></html>\n",
                         "text/html; charset=utf-8");
}

void NetworkRoutes::staticFile(const httplib::Request& request, httplib::Response& response) const {
    auto file = catalog_->staticFile(request.matches[1].str());
    if (!file) {
        notFound(response);
        return;
    }
    response.set_content(std::string(file->contents.view()), file->contentType);
}

} // namespace adserver
