#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace pennant {

// Where the ad network lives and the paths the client asks it for. The host names sit under
// the reserved .test domain; the network layer's host map points them at a real server.
class Endpoints {
public:
    static constexpr std::string_view kAdRequestHost = "ads.pennant.test";
    static constexpr std::string_view kStaticContentHostName = "static.pennant.test";
    // The full ad-request endpoint, also the target of analytics visits.
    static constexpr std::string_view kAdRequestEndpoint = "http://ads.pennant.test/ad_source.php";
    // "http://" and the static-content host, without a trailing slash.
    static constexpr std::string_view kStaticContentHost = "http://static.pennant.test";

    static constexpr std::string_view kBrowserIconPath = "/static/phone/browser/";
    static constexpr std::string_view kActionIconPath = "/static/phone/img/";
    static constexpr std::string_view kStringsPath = "/static/phone/i18n/20091119/";
    static constexpr std::string_view kCanvasPath = "/static/phone/canvas.html";

    // The phone's store, for store links: the four app-store hosts (store links are rewritten
    // to the first) and the affiliate-link host, whose links redirect to one of them.
    static constexpr std::array<std::string_view, 4> kAppStoreHosts = {
        "apps.phone.test", "store.phone.test", "buy.phone.test", "www.store.phone.test"};
    static constexpr std::string_view kAffiliateLinkHost = "click.affiliate.test";

    // Links that web pages hand to the phone's own applications: hosts of the maps application
    // (by prefix, any domain below it) and of the video site.
    static constexpr std::array<std::string_view, 2> kMapHostPrefixes = {"maps.phone.",
                                                                         "map.phone."};
    static constexpr std::array<std::string_view, 2> kVideoSiteHosts = {"video.phone.test",
                                                                        "www.video.phone.test"};

    // Exact comparisons: a host in other letter case is no store host.
    static bool isAppStoreHost(std::string_view host);
    static bool isStoreLinkHost(std::string_view host);

    // The host delegate's endpoint replaces the whole default when it gives one.
    static std::string adRequestEndpoint(const std::optional<std::string>& delegateOverride);
    static std::string browserIconURL(std::string_view name);
    static std::string actionIconURL(std::string_view name);
    // An ad image given as a path on the static-content host.
    static std::string staticContentURL(std::string_view path);
    // The language code is percent-encoded into the path.
    static std::string stringsURL(std::string_view languageCode);
    static std::string canvasURL();
};

} // namespace pennant
