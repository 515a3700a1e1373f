#include "adserver/Catalog.h"

#include "platform/foundation/ASCII.h"
#include "platform/foundation/Dictionary.h"
#include "platform/foundation/FileManager.h"
#include "json/JSONDeserializer.h"

#include <algorithm>
#include <map>

namespace adserver {

namespace {

constexpr std::size_t kMaxCatalogBytes = 4 * 1024 * 1024;
constexpr std::size_t kMaxStaticFileBytes = 8 * 1024 * 1024;
constexpr std::size_t kMaxSuggestions = 10;

foundation::Error catalogError(std::string message) {
    return {"AdServerCatalogErrorDomain", -1, std::move(message)};
}

// Only plain names separated by "/": no "..", no hidden files, nothing a shell would mind.
bool isSafeRelativePath(std::string_view path) {
    if (path.empty() || path.size() > 512)
        return false;
    std::size_t start = 0;
    while (start <= path.size()) {
        const auto end = std::min(path.find('/', start), path.size());
        const auto component = path.substr(start, end - start);
        if (component.empty() || component.front() == '.')
            return false;
        const bool plain = std::ranges::all_of(component, [](unsigned char c) {
            return std::isalnum(c) || c == '.' || c == '_' || c == '-';
        });
        if (!plain)
            return false;
        start = end + 1;
    }
    return true;
}

std::string contentTypeFor(std::string_view path) {
    static const std::map<std::string, std::string, std::less<>> kTypes = {
        {"png", "image/png"},         {"html", "text/html; charset=utf-8"},
        {"json", "application/json"}, {"strings", "application/x-plist"},
        {"js", "text/javascript"},    {"css", "text/css"},
        {"mp4", "video/mp4"},
    };
    const auto dot = path.rfind('.');
    const auto it =
        dot == std::string_view::npos ? kTypes.end() : kTypes.find(path.substr(dot + 1));
    return it == kTypes.end() ? "application/octet-stream" : it->second;
}

std::string_view actionOf(const foundation::Value& ad) {
    const auto& response = ad["response"];
    return response["6"].isString() ? response["6"].asString() : response["o"]["a"].asString();
}

} // namespace

Catalog::Catalog(std::string directory, std::string generatedDirectory,
                 foundation::Value::Array ads, std::vector<std::string> suggestions)
    : directory_(std::move(directory)), generatedDirectory_(std::move(generatedDirectory)),
      ads_(std::move(ads)), suggestions_(std::move(suggestions)) {}

foundation::Result<std::shared_ptr<Catalog>> Catalog::load(const std::string& directory,
                                                           std::string generatedDirectory) {
    const auto bytes =
        foundation::FileManager::contentsAtPath(directory + "/ads.json", kMaxCatalogBytes);
    if (!bytes)
        return catalogError("cannot read " + directory + "/ads.json");
    const auto parsed = json::JSONDeserializer().deserializeAsDictionary(*bytes);
    if (!parsed)
        return catalogError("ads.json is not a JSON object: " + parsed.error().message);
    foundation::Value::Array ads;
    for (const auto& ad : parsed.value()["ads"].asArray())
        if (ad["id"].isString() && ad["response"].isDictionary())
            ads.push_back(ad);
    if (ads.empty())
        return catalogError("ads.json lists no usable ad");
    std::vector<std::string> suggestions;
    for (const auto& text : parsed.value()["suggestions"].asArray())
        if (text.isString())
            suggestions.emplace_back(text.asString());
    return std::shared_ptr<Catalog>(new Catalog(directory, std::move(generatedDirectory),
                                                std::move(ads), std::move(suggestions)));
}

const foundation::Value& Catalog::chooseAd(const std::optional<std::string>& testAction) {
    if (testAction) {
        const auto it =
            std::ranges::find_if(ads_, [&](const auto& ad) { return actionOf(ad) == *testAction; });
        if (it != ads_.end())
            return *it;
        if (const auto* named = findAd(*testAction))
            return *named;
    }
    return ads_[rotation_++ % ads_.size()];
}

bool Catalog::startRotationAt(std::string_view identifier) {
    const auto it = std::ranges::find_if(
        ads_, [&](const auto& ad) { return ad["id"].asString() == identifier; });
    if (it == ads_.end())
        return false;
    rotation_ = static_cast<std::size_t>(it - ads_.begin());
    return true;
}

const foundation::Value* Catalog::findAd(std::string_view identifier) const {
    const auto it = std::ranges::find_if(
        ads_, [&](const auto& ad) { return ad["id"].asString() == identifier; });
    return it == ads_.end() ? nullptr : &*it;
}

std::vector<std::string> Catalog::suggestionsFor(std::string_view query) const {
    const std::string prefix = foundation::ASCII::lowercased(query);
    std::vector<std::string> matches;
    for (const auto& text : suggestions_)
        if (matches.size() < kMaxSuggestions &&
            foundation::ASCII::lowercased(text).starts_with(prefix))
            matches.push_back(text);
    return matches;
}

std::optional<Catalog::File> Catalog::staticFile(std::string_view path) const {
    if (!isSafeRelativePath(path))
        return std::nullopt;
    auto contents = foundation::FileManager::contentsAtPath(
        directory_ + "/static/" + std::string(path), kMaxStaticFileBytes);
    if (!contents && !generatedDirectory_.empty())
        contents = foundation::FileManager::contentsAtPath(
            generatedDirectory_ + "/" + std::string(path), kMaxStaticFileBytes);
    if (!contents)
        return std::nullopt;
    return File{std::move(*contents), contentTypeFor(path)};
}

} // namespace adserver
