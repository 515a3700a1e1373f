#include "adserver/FaultResponder.h"

#include "platform/foundation/PercentEncoding.h"

#include <algorithm>
#include <charconv>
#include <chrono>

namespace adserver {

namespace {
constexpr std::size_t kChunkBytes = 64 * 1024;
constexpr std::size_t kDeclaredLength = 4096;

void refuse(httplib::Response& response) {
    response.status = 400;
    response.set_content("redirects stay on this server\n", "text/plain");
}

void redirect(httplib::Response& response, const std::string& location) {
    response.status = 302;
    response.set_header("Location", location);
    response.set_content("redirecting\n", "text/plain");
}
} // namespace

bool FaultResponder::apply(const FaultPlan::Rule& rule, const httplib::Request& request,
                           httplib::Response& response) {
    switch (rule.kind) {
    case FaultPlan::Kind::Status:
        response.status = rule.status;
        response.set_content("scripted fault\n", "text/plain");
        return true;
    case FaultPlan::Kind::Delay:
        sleep(rule.delaySeconds);
        return false;
    case FaultPlan::Kind::CloseMidBody:
        closeMidBody(response);
        return true;
    case FaultPlan::Kind::Oversize:
        oversize(rule.bytes, response);
        return true;
    case FaultPlan::Kind::RedirectChain: {
        // The request's own target comes from the client, so it is checked like any other.
        const std::string& target = rule.to.empty() ? request.target : rule.to;
        if (FaultPlan::isLocalPath(target))
            redirect(response, hopTarget(rule.redirects - 1, target));
        else
            refuse(response);
        return true;
    }
    case FaultPlan::Kind::RedirectLoop:
        redirect(response, "/__loop/a");
        return true;
    case FaultPlan::Kind::Body:
        response.status = 200;
        response.set_content(rule.body, "application/octet-stream");
        return true;
    }
    return false;
}

void FaultResponder::sleep(double seconds) {
    std::unique_lock lock(mutex_);
    wake_.wait_for(lock, std::chrono::duration<double>(seconds), [&] { return stopping_; });
}

void FaultResponder::stop() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
}

// Promises more bytes than it sends, then drops the connection.
void FaultResponder::closeMidBody(httplib::Response& response) {
    response.set_content_provider(kDeclaredLength, "text/plain",
                                  [](std::size_t offset, std::size_t, httplib::DataSink& sink) {
                                      if (offset > 0)
                                          return false;
                                      const std::string half(kDeclaredLength / 2, 'x');
                                      sink.write(half.data(), half.size());
                                      return true;
                                  });
}

// Chunked, so the client only learns the size by counting.
void FaultResponder::oversize(std::size_t bytes, httplib::Response& response) {
    response.set_chunked_content_provider(
        "application/octet-stream", [bytes](std::size_t offset, httplib::DataSink& sink) {
            if (offset >= bytes) {
                sink.done();
                return true;
            }
            const std::string chunk(std::min(kChunkBytes, bytes - offset), 'z');
            return sink.write(chunk.data(), chunk.size());
        });
}

std::string FaultResponder::hopTarget(int remaining, const std::string& target) {
    if (remaining < 1)
        return target;
    return "/__hop/" + std::to_string(remaining) +
           "?to=" + foundation::PercentEncoding::encode(target);
}

void FaultResponder::hop(const httplib::Request& request, httplib::Response& response) const {
    const std::string target = request.get_param_value("to");
    const std::string digits = request.matches[1];
    const char* const last = digits.data() + digits.size();
    int remaining = 0;
    const auto [end, error] = std::from_chars(digits.data(), last, remaining);
    // Only paths on this server: hops must not become an open redirector.
    if (!FaultPlan::isLocalPath(target) || error != std::errc() || end != last) {
        refuse(response);
        return;
    }
    redirect(response, hopTarget(remaining - 1, target));
}

void FaultResponder::loop(const httplib::Request& request, httplib::Response& response) const {
    redirect(response, request.matches[1] == "a" ? "/__loop/b" : "/__loop/a");
}

} // namespace adserver
