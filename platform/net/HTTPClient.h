#pragma once

#include "platform/foundation/Forward.h"
#include "platform/foundation/Subscribers.h"
#include "platform/net/HTTPCompletion.h"
#include "platform/net/HTTPRequest.h"
#include "platform/net/HTTPTask.h"

#include <cstddef>
#include <memory>
#include <string_view>

namespace net {

class CurlWorker;

// The process's HTTP client: one worker thread runs every transfer; results come back on the
// main run loop. While a request is in flight the main loop's virtual clock does not jump.
class HTTPClient {
public:
    // Limits that keep a hostile or broken server from running the client into the ground.
    static constexpr int kMaxRedirects = 20;
    static constexpr std::size_t kMaxBodyBytes = HTTPRequest::kDefaultMaxBodyBytes;
    static constexpr std::size_t kMaxHeaderBytes = 256 * 1024;

    static HTTPClient& shared();
    ~HTTPClient();
    HTTPClient(const HTTPClient&) = delete;
    HTTPClient& operator=(const HTTPClient&) = delete;

    // nullptr (and no callback) when the URL is not an absolute http or https URL.
    std::shared_ptr<HTTPTask> start(HTTPRequest request, HTTPTask::Callbacks callbacks);

    static bool isSupportedURL(std::string_view url);

    // Every task's completion (see HTTPTask), on the main loop, while the subscription lives.
    // Any thread may subscribe.
    [[nodiscard]] foundation::Subscription
    addCompletionObserver(std::function<void(const HTTPCompletion&)> observer);

private:
    friend class foundation::Singleton<HTTPClient>;
    HTTPClient();

    using Completions = foundation::Subscribers<const HTTPCompletion&>;

    std::shared_ptr<CurlWorker> worker_;
    // Shared with the tasks, whose last deliveries may still be queued when the client goes.
    std::shared_ptr<Completions> completions_ = std::make_shared<Completions>();
};

} // namespace net
