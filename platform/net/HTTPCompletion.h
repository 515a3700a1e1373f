#pragma once

#include "platform/net/HTTPFailure.h"

#include <optional>
#include <string>

namespace net {

// How one request ended, for whoever watches all of the client's traffic. Bodies are left out.
struct HTTPCompletion {
    std::string method; // "GET", or "POST" for a request with a body
    std::string url;    // as the caller gave it, before any redirect
    // The final response's status; 0 when none came.
    int statusCode = 0;
    // Set when the request failed, whether or not a response had begun.
    std::optional<HTTPFailure::Reason> failure;
};

} // namespace net
