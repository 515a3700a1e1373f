#pragma once

#include "platform/foundation/RunLoop.h"
#include "platform/net/HTTPClient.h"
#include "platform/net/HTTPRequest.h"
#include "platform/net/HTTPTask.h"

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace testing_support {

// Starting plain GET tasks on the shared client and running the main loop until they end.
class HTTPTasks {
public:
    using Headers = std::vector<std::pair<std::string, std::string>>;

    static std::shared_ptr<net::HTTPTask>
    start(const std::string& url, net::HTTPTask::Callbacks callbacks, Headers headers = {}) {
        net::HTTPRequest request{url, std::move(headers), {}, foundation::Seconds(10), {}};
        return net::HTTPClient::shared().start(std::move(request), std::move(callbacks));
    }

    // False if any task is still running after a generous bound.
    static bool finish(const std::vector<std::shared_ptr<net::HTTPTask>>& tasks) {
        auto allDone = [&] {
            return std::ranges::all_of(tasks, [](const auto& task) { return task->isDone(); });
        };
        return foundation::RunLoop::main().runUntil(allDone, foundation::Seconds(20));
    }
};

} // namespace testing_support
