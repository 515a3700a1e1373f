#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_set>

namespace foundation {
class Dictionary;
}

namespace pennant {

class AnalyticsDataDelegate;
class URLDownload;

// Reports page visits of an ad with statistics to the ad network: each visit is one
// form-encoded POST to the ad-request endpoint, sent and forgotten. Without a site id or a
// host name the object is inert and sends nothing. Destroying it cancels the records still in
// flight. Main thread only.
class AnalyticsData {
public:
    using PublisherIdProvider = std::function<std::string()>;

    // The ad passes its host delegate's publisherId as the provider; it is asked at each visit
    // and kept as long as this object.
    AnalyticsData(std::optional<std::string> siteID, PublisherIdProvider publisherId,
                  std::optional<std::string> httpHost);
    ~AnalyticsData();
    AnalyticsData(const AnalyticsData&) = delete;
    AnalyticsData& operator=(const AnalyticsData&) = delete;

    const std::optional<std::string>& analyticsSiteID() const { return analyticsSiteID_; }
    const std::optional<std::string>& httpHostName() const { return httpHostName_; }
    void setDelegate(std::weak_ptr<AnalyticsDataDelegate> delegate) {
        delegate_ = std::move(delegate);
    }

    // Extra parameters follow the standard fields in the dictionary's order. No name, no record.
    void recordVisit(const std::optional<std::string>& visitName,
                     const foundation::Dictionary& extraParams);
    void recordVisit(const std::optional<std::string>& visitName);

private:
    std::string visitBody(const std::string& visitName,
                          const foundation::Dictionary& extraParams) const;
    // The response is never read: a record that failed is as finished as one that arrived.
    void downloadDidFinish(URLDownload& download);

    std::optional<std::string> analyticsSiteID_;
    PublisherIdProvider publisherId_;
    std::optional<std::string> httpHostName_;
    std::weak_ptr<AnalyticsDataDelegate> delegate_;
    std::unordered_set<std::shared_ptr<URLDownload>> activeDownloads_;
};

} // namespace pennant
