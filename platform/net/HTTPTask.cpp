#include "platform/net/HTTPTask.h"

#include <utility>

namespace net {

HTTPTask::HTTPTask(Callbacks callbacks, std::function<void()> wakeWorker, HTTPCompletion completion,
                   CompletionHandler completed)
    : callbacks_(std::move(callbacks)), wakeWorker_(std::move(wakeWorker)),
      completion_(std::move(completion)), completed_(std::move(completed)),
      token_(std::make_unique<foundation::RunLoop::WorkToken>(foundation::RunLoop::main())) {}

void HTTPTask::cancel() {
    if (cancelled_.exchange(true))
        return;
    if (completion_.statusCode != 0)
        complete();
    end();
    if (wakeWorker_)
        wakeWorker_();
}

void HTTPTask::complete() {
    if (auto fn = std::exchange(completed_, nullptr))
        fn(completion_);
}

void HTTPTask::end() {
    callbacks_ = {};
    completed_ = nullptr;
    token_.reset();
}

// Each delivery calls a copy, so a callback that cancels the task does not destroy itself.
void HTTPTask::deliverRedirect(const std::string& url) {
    if (auto fn = callbacks_.redirect; fn && !cancelled_)
        fn(url);
}

void HTTPTask::deliverResponse(const HTTPResponse& response) {
    if (cancelled_)
        return;
    completion_.statusCode = response.statusCode;
    if (auto fn = callbacks_.response)
        fn(response);
}

void HTTPTask::deliverData(std::span<const std::uint8_t> chunk) {
    if (auto fn = callbacks_.data; fn && !cancelled_)
        fn(chunk);
}

void HTTPTask::deliverFinish() {
    if (cancelled_)
        return;
    auto fn = std::move(callbacks_.finish);
    complete();
    end();
    if (fn)
        fn();
}

void HTTPTask::deliverFailure(const HTTPFailure& failure) {
    if (cancelled_)
        return;
    auto fn = std::move(callbacks_.failure);
    completion_.failure = failure.reason;
    complete();
    end();
    if (fn)
        fn(failure);
}

} // namespace net
