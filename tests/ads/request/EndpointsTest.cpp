#include "ads/request/Endpoints.h"

#include <gtest/gtest.h>

using pennant::Endpoints;

TEST(Endpoints, AdRequestEndpointIsReplacedWholeByTheDelegate) {
    EXPECT_EQ(Endpoints::adRequestEndpoint(std::nullopt), "http://ads.pennant.test/ad_source.php");
    EXPECT_EQ(Endpoints::adRequestEndpoint("http://other.test/ads"), "http://other.test/ads");
}

TEST(Endpoints, StaticPathsHangOffTheStaticHost) {
    EXPECT_EQ(Endpoints::browserIconURL("back_disable"),
              "http://static.pennant.test/static/phone/browser/back_disable.png");
    EXPECT_EQ(Endpoints::actionIconURL("call"),
              "http://static.pennant.test/static/phone/img/call.png");
    EXPECT_EQ(Endpoints::staticContentURL("/static/phone/ads/x.png"),
              "http://static.pennant.test/static/phone/ads/x.png");
    EXPECT_EQ(Endpoints::canvasURL(), "http://static.pennant.test/static/phone/canvas.html");
    // The language code is encoded in the URL (it is used unencoded as a file name elsewhere).
    EXPECT_EQ(Endpoints::stringsURL("zh Hant"),
              "http://static.pennant.test/static/phone/i18n/20091119/zh%20Hant.strings");
}

TEST(Endpoints, StoreHostsAreExactNames) {
    for (const auto host : Endpoints::kAppStoreHosts) {
        EXPECT_TRUE(Endpoints::isAppStoreHost(host)) << host;
        EXPECT_TRUE(Endpoints::isStoreLinkHost(host)) << host;
    }
    EXPECT_FALSE(Endpoints::isAppStoreHost(Endpoints::kAffiliateLinkHost));
    EXPECT_TRUE(Endpoints::isStoreLinkHost(Endpoints::kAffiliateLinkHost));
    for (const auto host : {"APPS.phone.test", "Click.Affiliate.test", "apps.phone.test.", "",
                            "phone.test", "ads.pennant.test"})
        EXPECT_FALSE(Endpoints::isStoreLinkHost(host)) << host;
}
