#include "ads/request/AnalyticsData.h"

#include "ads/request/AnalyticsDataDelegate.h"
#include "ads/request/Endpoints.h"
#include "ads/request/URLDownload.h"
#include "platform/foundation/Assertions.h"
#include "platform/foundation/DeviceProfile.h"
#include "platform/foundation/Dictionary.h"
#include "platform/foundation/RunLoop.h"
#include "platform/net/CachePolicy.h"

#include <fmt/format.h>

namespace pennant {

namespace {

constexpr std::string_view kVisitVersion = "20091119-iSDK-5096df531ccfaf53";

} // namespace

AnalyticsData::AnalyticsData(std::optional<std::string> siteID, PublisherIdProvider publisherId,
                             std::optional<std::string> httpHost) {
    if (!siteID || !httpHost)
        return;
    analyticsSiteID_ = std::move(siteID);
    publisherId_ = std::move(publisherId);
    httpHostName_ = std::move(httpHost);
}

AnalyticsData::~AnalyticsData() {
    // Their callbacks point back here: none may arrive once this object is gone.
    for (const auto& download : activeDownloads_)
        download->cancel();
}

void AnalyticsData::recordVisit(const std::optional<std::string>& visitName) {
    recordVisit(visitName, foundation::Dictionary{});
}

void AnalyticsData::recordVisit(const std::optional<std::string>& visitName,
                                const foundation::Dictionary& extraParams) {
    foundation::assertIsMainThread();
    if (!visitName || !analyticsSiteID_)
        return;
    auto download = URLDownload::create();
    download->setIdentifier(*visitName);
    download->setCachePolicy(
        static_cast<std::uint32_t>(net::CachePolicy::ReloadIgnoringLocalAndRemoteCacheData));
    download->setSuccessCallback([this](URLDownload& finished) { downloadDidFinish(finished); });
    download->setFailureCallback([this](URLDownload& finished) { downloadDidFinish(finished); });
    activeDownloads_.insert(download);
    download->loadContentsOfURLAtString(
        Endpoints::kAdRequestEndpoint,
        foundation::Data::fromString(visitBody(*visitName, extraParams)));
}

std::string AnalyticsData::visitBody(const std::string& visitName,
                                     const foundation::Dictionary& extraParams) const {
    // The site id comes from the network: encoded, it cannot add fields of its own.
    std::string body =
        fmt::format("rt=1&ex=1&a={}&p={}&o={}&v={}&z={:f}&h%5BHTTP_HOST%5D={}"
                    "&h%5BHTTP_REFERER%5D=http%3A%2F%2F{}",
                    URLDownload::encodeURL(*analyticsSiteID_), URLDownload::encodeURL(visitName),
                    foundation::DeviceProfile::current().uniqueIdentifier, kVisitVersion,
                    foundation::RunLoop::main().now(), URLDownload::encodeURL(*httpHostName_),
                    publisherId_ ? publisherId_() : std::string());
    if (!extraParams.empty()) {
        body += '&';
        body += URLDownload::queryStringFromDictionary(extraParams);
    }
    return body;
}

void AnalyticsData::downloadDidFinish(URLDownload& download) {
    std::erase_if(activeDownloads_, [&](const auto& active) { return active.get() == &download; });
    // The download keeps itself alive through this callback, even if the delegate destroys us.
    if (auto delegate = delegate_.lock())
        delegate->analyticsProcesssedVisit(download.identifier());
    download.cancel();
}

} // namespace pennant
