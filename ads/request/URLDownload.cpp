#include "ads/request/URLDownload.h"

#include "ads/request/UserAgent.h"
#include "platform/foundation/ASCII.h"
#include "platform/foundation/Assertions.h"
#include "platform/foundation/DeviceProfile.h"
#include "platform/foundation/Dictionary.h"
#include "platform/foundation/FileManager.h"
#include "platform/foundation/PercentEncoding.h"
#include "platform/foundation/Sandbox.h"
#include "platform/net/HTTPClient.h"

#include <algorithm>
#include <cctype>
#include <mutex>

namespace pennant {

namespace {

// What a value prints as in a query: strings as they are, anything else as its description.
std::string queryText(const foundation::Value& value) {
    return value.isString() ? std::string(value.asString()) : value.description();
}

} // namespace

std::shared_ptr<URLDownload> URLDownload::create() {
    return std::shared_ptr<URLDownload>(new URLDownload());
}

URLDownload::~URLDownload() {
    if (task_)
        task_->cancel();
}

void URLDownload::loadContentsOfURLAtString(std::string_view url,
                                            std::optional<foundation::Data> postBody) {
    foundation::assertIsMainThread();
    targetURL_ = std::string(foundation::ASCII::trimmed(url));
    auto parsed = foundation::URL::create(targetURL_);
    if (!parsed) {
        postFailure(kInvalidURL);
        return;
    }
    redirectFreeURL_ = std::move(parsed);
    foundation::RunLoop::main().post(
        [weak = weak_from_this(), generation = generation_, body = std::move(postBody)]() mutable {
            auto self = weak.lock();
            if (self && self->generation_ == generation)
                self->performRequest(std::move(body));
        });
}

void URLDownload::postFailure(long code) {
    foundation::RunLoop::main().post([weak = weak_from_this(), generation = generation_, code] {
        auto self = weak.lock();
        if (self && self->generation_ == generation)
            self->didFail(code);
    });
}

void URLDownload::performRequest(std::optional<foundation::Data> postBody) {
    if (task_)
        task_->cancel();
    net::HTTPRequest request;
    request.url = targetURL_;
    request.headers.emplace_back("USER-AGENT", userAgent());
    const auto& device = foundation::DeviceProfile::current().uniqueIdentifier;
    if (!device.empty())
        request.headers.emplace_back("X-PENNANT-ISU", device);
    request.body = std::move(postBody);
    request.timeout = timeout_;
    request.cachePolicy = static_cast<net::CachePolicy>(cachePolicy_);

    std::weak_ptr<URLDownload> weak = weak_from_this();
    net::HTTPTask::Callbacks callbacks;
    callbacks.redirect = [weak](const std::string& url) {
        if (auto self = weak.lock())
            self->didRedirect(url);
    };
    callbacks.response = [weak](const net::HTTPResponse& response) {
        if (auto self = weak.lock())
            self->didReceiveResponse(response);
    };
    callbacks.data = [weak](std::span<const std::uint8_t> chunk) {
        if (auto self = weak.lock())
            self->didReceiveData(chunk);
    };
    callbacks.finish = [weak] {
        if (auto self = weak.lock())
            self->didFinish();
    };
    callbacks.failure = [weak](const net::HTTPFailure&) {
        if (auto self = weak.lock())
            self->didFail(kConnectionFailed);
    };
    task_ = net::HTTPClient::shared().start(std::move(request), std::move(callbacks));
    if (!task_) {
        didFail(kConnectionNotCreated);
        return;
    }
    data_ = {};
}

void URLDownload::didRedirect(const std::string& url) {
    if (auto parsed = foundation::URL::create(url))
        redirectFreeURL_ = std::move(parsed);
}

void URLDownload::didReceiveResponse(const net::HTTPResponse& response) {
    data_.clear();
    statusCode_ = response.statusCode;
    if (response.statusCode > 399) {
        task_->cancel();
        didFail(kHTTPError);
    }
}

void URLDownload::didReceiveData(std::span<const std::uint8_t> chunk) {
    data_.append(chunk.data(), chunk.size());
}

void URLDownload::didFinish() { report(true); }

void URLDownload::didFail(long code) {
    error_ = foundation::Error{kErrorDomain, code, {}};
    report(false);
}

void URLDownload::report(bool success) {
    // The owner usually drops its reference from inside the callback.
    auto protector = shared_from_this();
    task_.reset();
    Callback callback = success ? onSuccess_ : onFailure_;
    if (callback)
        callback(*this);
}

void URLDownload::cancel() {
    ++generation_;
    if (task_) {
        task_->cancel();
        task_.reset();
    }
    data_ = {};
    onSuccess_ = nullptr;
    onFailure_ = nullptr;
}

const std::string& URLDownload::userAgent() {
    static std::once_flag once;
    static std::string agent;
    std::call_once(once, [] { agent = UserAgent::format(UserAgent::current()); });
    return agent;
}

bool URLDownload::isJailbroken() {
    const auto& sandbox = foundation::Sandbox::current();
    return !sandbox.home().empty() &&
           foundation::FileManager::fileExists(sandbox.devicePath("/Applications/Cydia.app"));
}

std::string URLDownload::encodeURL(std::string_view text) {
    return foundation::PercentEncoding::encode(text);
}

std::string URLDownload::queryStringFromDictionary(const foundation::Dictionary& dictionary) {
    std::string query;
    for (const auto& [key, value] : dictionary) {
        if (!query.empty())
            query += '&';
        query += encodeURL(key) + "=" + encodeURL(queryText(value));
    }
    return query;
}

foundation::Dictionary
URLDownload::dictionaryFromQueryString(std::optional<std::string_view> text) {
    foundation::Dictionary result;
    if (!text)
        return result;
    std::string_view rest = *text;
    while (!rest.empty()) {
        const auto end = std::min(rest.find_first_of("&;"), rest.size());
        const std::string_view piece = rest.substr(0, end);
        rest.remove_prefix(std::min(end + 1, rest.size()));
        const auto equals = piece.find('=');
        if (equals == std::string_view::npos ||
            piece.find('=', equals + 1) != std::string_view::npos)
            continue;
        // A pair whose escapes do not decode to UTF-8 is dropped rather than stored half-read.
        auto key = foundation::PercentEncoding::decode(piece.substr(0, equals));
        auto value = foundation::PercentEncoding::decode(piece.substr(equals + 1));
        if (key && value)
            result.set(foundation::ASCII::lowercased(std::move(*key)),
                       foundation::Value(std::move(*value)));
    }
    return result;
}

} // namespace pennant
