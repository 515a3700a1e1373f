#pragma once

#include "platform/foundation/Data.h"
#include "platform/foundation/Error.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/URL.h"
#include "platform/foundation/Value.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace foundation {
class Dictionary;
}
namespace net {
class HTTPTask;
struct HTTPResponse;
} // namespace net

namespace pennant {

// The ad client's one HTTP download: every ad request, image, click, pixel, strings table and
// search suggestion goes through it. It sends the client's user agent and device header, holds
// the whole body in memory and reports once, on the main run loop, through the success or the
// failure callback. Owners keep it (e.g. in a set) until a callback or cancel().
class URLDownload : public std::enable_shared_from_this<URLDownload> {
public:
    static constexpr const char* kErrorDomain = "kPennantURLDownloadErrorDomain";
    static constexpr long kInvalidURL = -1;
    static constexpr long kConnectionNotCreated = -2;
    static constexpr long kHTTPError = -3;
    static constexpr long kConnectionFailed = -4;
    static constexpr foundation::Seconds kDefaultTimeout{15};

    using Callback = std::function<void(URLDownload&)>;

    static std::shared_ptr<URLDownload> create();
    ~URLDownload();
    URLDownload(const URLDownload&) = delete;
    URLDownload& operator=(const URLDownload&) = delete;

    // Set before loading.
    const std::string& identifier() const { return identifier_; }
    void setIdentifier(std::string identifier) { identifier_ = std::move(identifier); }
    void setSuccessCallback(Callback callback) { onSuccess_ = std::move(callback); }
    void setFailureCallback(Callback callback) { onFailure_ = std::move(callback); }
    std::uint32_t cachePolicy() const { return cachePolicy_; }
    void setCachePolicy(std::uint32_t policy) { cachePolicy_ = policy; }
    const foundation::Value& userInfo() const { return userInfo_; }
    void setUserInfo(foundation::Value info) { userInfo_ = std::move(info); }
    foundation::Seconds timeoutInterval() const { return timeout_; }
    void setTimeoutInterval(foundation::Seconds timeout) { timeout_ = timeout; }

    // Results.
    const foundation::Data& data() const { return data_; }
    const std::optional<foundation::Error>& error() const { return error_; }
    const std::string& targetURL() const { return targetURL_; }
    // The status of the final response; 0 until one arrives.
    int statusCode() const { return statusCode_; }
    // The URL actually reached: the request's, replaced at every redirect.
    const std::optional<foundation::URL>& redirectFreeURL() const { return redirectFreeURL_; }

    // A body makes the request a POST. The request starts from the main run loop, so no
    // callback ever runs inside this call.
    void loadContentsOfURLAtString(std::string_view url,
                                   std::optional<foundation::Data> postBody = std::nullopt);
    // Stops the transfer, drops the data and the callbacks; no callback arrives afterwards.
    void cancel();

    // Built once per process, when first asked for.
    static const std::string& userAgent();
    static bool isJailbroken();
    static std::string encodeURL(std::string_view text);
    static std::string queryStringFromDictionary(const foundation::Dictionary& dictionary);
    static foundation::Dictionary dictionaryFromQueryString(std::optional<std::string_view> text);

private:
    URLDownload() = default;

    void performRequest(std::optional<foundation::Data> postBody);
    void didRedirect(const std::string& url);
    void didReceiveResponse(const net::HTTPResponse& response);
    void didReceiveData(std::span<const std::uint8_t> chunk);
    void didFinish();
    void didFail(long code);
    void report(bool success);
    void postFailure(long code);

    std::string identifier_;
    Callback onSuccess_;
    Callback onFailure_;
    foundation::Data data_;
    std::shared_ptr<net::HTTPTask> task_;
    std::optional<foundation::Error> error_;
    std::string targetURL_;
    std::optional<foundation::URL> redirectFreeURL_;
    int statusCode_ = 0;
    std::uint32_t cachePolicy_ = 0;
    foundation::Value userInfo_;
    foundation::Seconds timeout_ = kDefaultTimeout;
    // Bumped by cancel so work already posted to the run loop is dropped.
    std::uint64_t generation_ = 0;
};

} // namespace pennant
