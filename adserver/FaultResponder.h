#pragma once

#ifndef INSIDE_ADSERVER
#error "FaultResponder.h belongs to the cpp-httplib backend: include it only from adserver"
#endif

#include "adserver/FaultPlan.h"

#include <httplib.h>

#include <condition_variable>
#include <mutex>
#include <string>

namespace adserver {

// Carries out fault rules on live responses, and the redirect hops they lead to.
class FaultResponder {
public:
    // True when the fault answered the request; a delay answers nothing and the request
    // carries on once it is over.
    bool apply(const FaultPlan::Rule& rule, const httplib::Request& request,
               httplib::Response& response);
    // /__hop/<n>?to=<path>: the rest of a redirect chain.
    void hop(const httplib::Request& request, httplib::Response& response) const;
    // /__loop/a and /__loop/b send the client to each other forever.
    void loop(const httplib::Request& request, httplib::Response& response) const;
    // Waits that long, or until stop().
    void sleep(double seconds);
    // Wakes every delayed request so the server can stop at once.
    void stop();

private:
    static void closeMidBody(httplib::Response& response);
    static void oversize(std::size_t bytes, httplib::Response& response);
    static std::string hopTarget(int remaining, const std::string& target);

    std::mutex mutex_;
    std::condition_variable wake_;
    bool stopping_ = false;
};

} // namespace adserver
