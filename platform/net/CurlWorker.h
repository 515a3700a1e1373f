#pragma once

#ifndef INSIDE_PLATFORM_NET
#error "CurlWorker.h belongs to the libcurl backend: include it only from platform/net"
#endif

#include <curl/curl.h>

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace net {

class CurlTransfer;

// The thread that drives every transfer through one libcurl multi handle.
class CurlWorker {
public:
    CurlWorker();
    ~CurlWorker();
    CurlWorker(const CurlWorker&) = delete;
    CurlWorker& operator=(const CurlWorker&) = delete;

    // Any thread.
    void add(std::unique_ptr<CurlTransfer> transfer);
    void wake();

private:
    void run();
    void adoptIncoming();
    void dropCancelled();
    void collectFinished();
    void expireIdle();
    int pollTimeoutMilliseconds() const;
    void remove(CURL* handle);

    CURLM* multi_ = nullptr;
    std::map<CURL*, std::unique_ptr<CurlTransfer>> active_;
    std::mutex mutex_;
    std::vector<std::unique_ptr<CurlTransfer>> incoming_;
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};

} // namespace net
