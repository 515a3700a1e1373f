#pragma once

#include "platform/net/HTTPFailure.h"
#include "platform/net/HTTPResponse.h"
#include "platform/net/HTTPTask.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace testing_support {

// Every callback of a task as one event, each data chunk separately; `after` runs after each one.
struct HTTPEvents {
    std::vector<std::string> seen;
    std::string body;
    std::string failure;

    net::HTTPTask::Callbacks callbacks(std::function<void(const std::string&)> after = {}) {
        auto note = [this, after](const std::string& event) {
            seen.push_back(event);
            if (after)
                after(event);
        };
        net::HTTPTask::Callbacks c;
        c.redirect = [note](const std::string&) { note("redirect"); };
        c.response = [note](const net::HTTPResponse&) { note("response"); };
        c.data = [this, note](std::span<const std::uint8_t> chunk) {
            body.append(chunk.begin(), chunk.end());
            note("data");
        };
        c.finish = [note] { note("finish"); };
        c.failure = [this, note](const net::HTTPFailure& failure) {
            this->failure = failure.message;
            note("failure");
        };
        return c;
    }
};

} // namespace testing_support
