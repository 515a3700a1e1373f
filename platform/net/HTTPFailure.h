#pragma once

#include <string>

namespace net {

// Why a request ended without a complete response.
struct HTTPFailure {
    enum class Reason {
        CouldNotConnect,
        TimedOut,
        TooManyRedirects,
        UnsupportedRedirect,
        ResponseTooLarge,
        ConnectionLost,
    };
    Reason reason;
    std::string message;
};

} // namespace net
