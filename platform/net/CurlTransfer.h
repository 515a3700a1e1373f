#pragma once

#ifndef INSIDE_PLATFORM_NET
#error "CurlTransfer.h belongs to the libcurl backend: include it only from platform/net"
#endif

#include "platform/net/HTTPFailure.h"
#include "platform/net/HTTPRequest.h"
#include "platform/net/HTTPTask.h"

#include <curl/curl.h>

#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace net {

// One request on the worker thread: a libcurl easy handle, the redirects it follows by hand
// (so each one can be reported), and the limits on what the server may send.
class CurlTransfer {
public:
    enum class Outcome { Finished, Restart };

    CurlTransfer(HTTPRequest request, std::shared_ptr<HTTPTask> task);
    ~CurlTransfer();
    CurlTransfer(const CurlTransfer&) = delete;
    CurlTransfer& operator=(const CurlTransfer&) = delete;

    CURL* handle() const { return handle_; }
    bool isCancelled() const { return task_->isCancelled(); }
    // When the transfer has gone too long without hearing from the server.
    std::chrono::steady_clock::time_point deadline() const { return lastActivity_ + timeout_; }

    // Restart means the handle was pointed at a redirect's target and must be added again.
    Outcome complete(CURLcode result);
    void failTimedOut();

private:
    using Clock = std::chrono::steady_clock;

    static std::size_t onHeader(char* data, std::size_t size, std::size_t count, void* self);
    static std::size_t onBody(char* data, std::size_t size, std::size_t count, void* self);

    void configure();
    void configureHostMap();
    void configureBody();
    std::size_t header(std::string_view line);
    void endOfHeaders();
    std::size_t body(const char* data, std::size_t size);
    Outcome followRedirect();
    void beginHop();
    void fail(HTTPFailure::Reason reason, std::string message);
    void post(std::function<void(HTTPTask&)> delivery);

    HTTPRequest request_;
    std::shared_ptr<HTTPTask> task_;
    CURL* handle_ = nullptr;
    curl_slist* headerList_ = nullptr;
    curl_slist* connectTo_ = nullptr;
    std::string noProxy_;
    std::string url_;
    Clock::duration timeout_;
    Clock::time_point lastActivity_;

    // Per hop.
    long status_ = 0;
    std::vector<std::pair<std::string, std::string>> headers_;
    std::size_t headerBytes_ = 0;
    std::size_t bodyBytes_ = 0;
    bool redirecting_ = false;
    bool responded_ = false;
    bool overLimit_ = false;
    int redirects_ = 0;
};

} // namespace net
