#include "platform/net/CurlWorker.h"

#include "platform/net/CurlTransfer.h"

#include <algorithm>
#include <chrono>

namespace net {

namespace {
// The poll also wakes this often to notice idle transfers and a stop request.
constexpr int kMaxPollMilliseconds = 500;
} // namespace

CurlWorker::CurlWorker() {
    curl_global_init(CURL_GLOBAL_DEFAULT);
    multi_ = curl_multi_init();
    thread_ = std::thread([this] { run(); });
}

CurlWorker::~CurlWorker() {
    stopping_ = true;
    wake();
    thread_.join();
    for (auto& [handle, transfer] : active_)
        curl_multi_remove_handle(multi_, handle);
    active_.clear();
    curl_multi_cleanup(multi_);
}

void CurlWorker::add(std::unique_ptr<CurlTransfer> transfer) {
    {
        std::lock_guard lock(mutex_);
        incoming_.push_back(std::move(transfer));
    }
    wake();
}

void CurlWorker::wake() { curl_multi_wakeup(multi_); }

void CurlWorker::run() {
    while (!stopping_) {
        adoptIncoming();
        dropCancelled();
        int running = 0;
        curl_multi_perform(multi_, &running);
        collectFinished();
        expireIdle();
        curl_multi_poll(multi_, nullptr, 0, pollTimeoutMilliseconds(), nullptr);
    }
}

void CurlWorker::adoptIncoming() {
    std::vector<std::unique_ptr<CurlTransfer>> fresh;
    {
        std::lock_guard lock(mutex_);
        fresh.swap(incoming_);
    }
    for (auto& transfer : fresh) {
        CURL* handle = transfer->handle();
        curl_multi_add_handle(multi_, handle);
        active_.emplace(handle, std::move(transfer));
    }
}

void CurlWorker::remove(CURL* handle) {
    curl_multi_remove_handle(multi_, handle);
    active_.erase(handle);
}

void CurlWorker::dropCancelled() {
    std::vector<CURL*> cancelled;
    for (const auto& [handle, transfer] : active_)
        if (transfer->isCancelled())
            cancelled.push_back(handle);
    for (CURL* handle : cancelled)
        remove(handle);
}

void CurlWorker::collectFinished() {
    int queued = 0;
    while (CURLMsg* message = curl_multi_info_read(multi_, &queued)) {
        if (message->msg != CURLMSG_DONE)
            continue;
        CURL* handle = message->easy_handle;
        const CURLcode result = message->data.result;
        curl_multi_remove_handle(multi_, handle);
        auto it = active_.find(handle);
        if (it == active_.end())
            continue;
        if (it->second->complete(result) == CurlTransfer::Outcome::Restart)
            curl_multi_add_handle(multi_, handle);
        else
            active_.erase(it);
    }
}

void CurlWorker::expireIdle() {
    const auto now = std::chrono::steady_clock::now();
    std::vector<CURL*> expired;
    for (const auto& [handle, transfer] : active_)
        if (transfer->deadline() <= now)
            expired.push_back(handle);
    for (CURL* handle : expired) {
        active_.at(handle)->failTimedOut();
        remove(handle);
    }
}

int CurlWorker::pollTimeoutMilliseconds() const {
    auto wait = std::chrono::milliseconds(kMaxPollMilliseconds);
    const auto now = std::chrono::steady_clock::now();
    for (const auto& [handle, transfer] : active_)
        wait = std::min(wait,
                        std::chrono::ceil<std::chrono::milliseconds>(transfer->deadline() - now));
    return static_cast<int>(std::max<long long>(wait.count(), 1));
}

} // namespace net
