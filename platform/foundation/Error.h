#pragma once

#include <string>

namespace foundation {

// A failure reported as a value: a domain string ending in "ErrorDomain", a small code, a message.
struct Error {
    std::string domain;
    long code = 0;
    std::string message;

    bool operator==(const Error&) const = default;
};

} // namespace foundation
