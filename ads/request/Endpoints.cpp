#include "ads/request/Endpoints.h"

#include "ads/request/URLDownload.h"

#include <algorithm>

namespace pennant {

bool Endpoints::isAppStoreHost(std::string_view host) {
    return std::ranges::find(kAppStoreHosts, host) != kAppStoreHosts.end();
}

bool Endpoints::isStoreLinkHost(std::string_view host) {
    return isAppStoreHost(host) || host == kAffiliateLinkHost;
}

std::string Endpoints::adRequestEndpoint(const std::optional<std::string>& delegateOverride) {
    return delegateOverride ? *delegateOverride : std::string(kAdRequestEndpoint);
}

std::string Endpoints::browserIconURL(std::string_view name) {
    return std::string(kStaticContentHost) + std::string(kBrowserIconPath) + std::string(name) +
           ".png";
}

std::string Endpoints::actionIconURL(std::string_view name) {
    return std::string(kStaticContentHost) + std::string(kActionIconPath) + std::string(name) +
           ".png";
}

std::string Endpoints::staticContentURL(std::string_view path) {
    return std::string(kStaticContentHost) + std::string(path);
}

std::string Endpoints::stringsURL(std::string_view languageCode) {
    return std::string(kStaticContentHost) + std::string(kStringsPath) +
           URLDownload::encodeURL(languageCode) + ".strings";
}

std::string Endpoints::canvasURL() {
    return std::string(kStaticContentHost) + std::string(kCanvasPath);
}

} // namespace pennant
