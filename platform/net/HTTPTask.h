#pragma once

#include "platform/foundation/RunLoop.h"
#include "platform/net/HTTPCompletion.h"
#include "platform/net/HTTPFailure.h"
#include "platform/net/HTTPResponse.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>

namespace net {

// One request in flight. Every callback runs on the main run loop; the task's methods are
// called there too. After cancel() (also from inside a callback) no callback arrives.
// The completion handler hears once how the request ended, just before the final callback. A
// request cancelled after its response came still completes, with that response's status (its
// caller had the answer it wanted); one cancelled before any response does not.
class HTTPTask {
public:
    struct Callbacks {
        // Before each redirect is followed, with the absolute URL it leads to.
        std::function<void(const std::string& newURL)> redirect;
        std::function<void(const HTTPResponse&)> response;
        std::function<void(std::span<const std::uint8_t> chunk)> data;
        std::function<void()> finish;
        std::function<void(const HTTPFailure&)> failure;
    };

    using CompletionHandler = std::function<void(const HTTPCompletion&)>;

    HTTPTask(Callbacks callbacks, std::function<void()> wakeWorker, HTTPCompletion completion = {},
             CompletionHandler completed = {});

    void cancel();
    bool isCancelled() const { return cancelled_; }
    // True once the final callback has been delivered or the task was cancelled.
    bool isDone() const { return !token_; }

private:
    friend class CurlTransfer;

    void deliverRedirect(const std::string& url);
    void deliverResponse(const HTTPResponse& response);
    void deliverData(std::span<const std::uint8_t> chunk);
    void deliverFinish();
    void deliverFailure(const HTTPFailure& failure);
    void complete();
    // Drops the callbacks (and what they hold) and lets a virtual clock move again.
    void end();

    Callbacks callbacks_;
    std::function<void()> wakeWorker_;
    HTTPCompletion completion_;
    CompletionHandler completed_;
    std::atomic<bool> cancelled_{false};
    std::unique_ptr<foundation::RunLoop::WorkToken> token_;
};

} // namespace net
