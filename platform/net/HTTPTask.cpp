#include "platform/net/HTTPTask.h"

namespace net {

HTTPTask::HTTPTask(Callbacks callbacks, std::function<void()> wakeWorker)
    : callbacks_(std::move(callbacks)), wakeWorker_(std::move(wakeWorker)),
      token_(std::make_unique<foundation::RunLoop::WorkToken>(foundation::RunLoop::main())) {}

void HTTPTask::cancel() {
    if (cancelled_.exchange(true))
        return;
    end();
    if (wakeWorker_)
        wakeWorker_();
}

void HTTPTask::end() {
    callbacks_ = {};
    token_.reset();
}

// Each delivery calls a copy, so a callback that cancels the task does not destroy itself.
void HTTPTask::deliverRedirect(const std::string& url) {
    if (auto fn = callbacks_.redirect; fn && !cancelled_)
        fn(url);
}

void HTTPTask::deliverResponse(const HTTPResponse& response) {
    if (auto fn = callbacks_.response; fn && !cancelled_)
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
    end();
    if (fn)
        fn();
}

void HTTPTask::deliverFailure(const HTTPFailure& failure) {
    if (cancelled_)
        return;
    auto fn = std::move(callbacks_.failure);
    end();
    if (fn)
        fn(failure);
}

} // namespace net
