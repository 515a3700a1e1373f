#include "platform/net/HTTPClient.h"

#include "platform/foundation/ASCII.h"
#include "platform/foundation/Assertions.h"
#include "platform/foundation/Singleton.h"
#include "platform/foundation/URL.h"
#include "platform/net/CurlTransfer.h"
#include "platform/net/CurlWorker.h"

#include <algorithm>
#include <cctype>

namespace net {

HTTPClient& HTTPClient::shared() { return foundation::Singleton<HTTPClient>::shared(); }

HTTPClient::HTTPClient() : worker_(std::make_shared<CurlWorker>()) {}

HTTPClient::~HTTPClient() = default;

foundation::Subscription
HTTPClient::addCompletionObserver(std::function<void(const HTTPCompletion&)> observer) {
    return completions_->subscribe(std::move(observer));
}

bool HTTPClient::isSupportedURL(std::string_view url) {
    const auto parsed = foundation::URL::create(url);
    if (!parsed || parsed->host().empty())
        return false;
    const std::string scheme = foundation::ASCII::lowercased(parsed->scheme());
    return scheme == "http" || scheme == "https";
}

std::shared_ptr<HTTPTask> HTTPClient::start(HTTPRequest request, HTTPTask::Callbacks callbacks) {
    foundation::assertIsMainThread();
    if (!isSupportedURL(request.url))
        return nullptr;
    // A task may be cancelled after the client (and its worker) are gone: then there is nothing
    // left to wake.
    std::weak_ptr<CurlWorker> worker = worker_;
    HTTPCompletion completion;
    completion.method = request.body ? "POST" : "GET";
    completion.url = request.url;
    auto task = std::make_shared<HTTPTask>(
        std::move(callbacks),
        [worker] {
            if (auto alive = worker.lock())
                alive->wake();
        },
        std::move(completion),
        [completions = std::weak_ptr(completions_)](const HTTPCompletion& done) {
            if (auto observers = completions.lock())
                observers->notify(done);
        });
    worker_->add(std::make_unique<CurlTransfer>(std::move(request), task));
    return task;
}

} // namespace net
