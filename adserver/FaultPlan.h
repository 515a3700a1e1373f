#pragma once

#include "platform/foundation/Result.h"
#include "platform/foundation/Value.h"

#include <cstddef>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace adserver {

// Misbehaviour scripted by tests and demos: each rule names a path pattern ("*" matches any
// run of characters), an optional method, how many requests it spoils (0: every one) and what
// it does to them.
class FaultPlan {
public:
    enum class Kind { Status, Delay, CloseMidBody, Oversize, RedirectChain, RedirectLoop, Body };

    struct Rule {
        std::string path;
        std::string method;
        int count = 1;
        Kind kind = Kind::Status;
        int status = 500;
        double delaySeconds = 0;
        std::size_t bytes = 17 * 1024 * 1024;
        int redirects = 3;
        // Where a redirect chain ends; empty: back at the requested URL.
        std::string to;
        // What a Body rule answers with, status 200, in place of the real content.
        std::string body;
    };

    // Longest delay a rule may ask for, so a typo cannot hold a server thread for hours.
    static constexpr double kMaxDelaySeconds = 120;
    static constexpr std::size_t kMaxOversizeBytes = 64 * 1024 * 1024;
    static constexpr int kMaxRedirectChain = 100;
    static constexpr std::size_t kMaxBodyBytes = 64 * 1024;
    // Rules a plan holds at once; each spoils requests until used up, so more is a runaway script.
    static constexpr std::size_t kMaxRules = 256;

    // {"path", "method"?, "count"?, and one of "status", "delay", "close", "oversize"
    // (true or a byte count), "redirects" (chain length, with an optional "to" path), "loop",
    // "body" (text served with status 200: garbage JSON, an image that does not decode)}.
    static foundation::Result<Rule> parse(const foundation::Value& description);
    static bool matches(std::string_view pattern, std::string_view path);
    // A path (and query) on this server, which a redirect may lead to without leaving it: only
    // characters a URL carries literally, so no parser can read a host into it.
    static bool isLocalPath(std::string_view target);

    // Fails when the plan already holds kMaxRules rules.
    foundation::Status add(Rule rule);
    void clear();
    // The first rule for this request, with one use taken from it.
    std::optional<Rule> take(std::string_view method, std::string_view path);
    foundation::Value toValue() const;

private:
    mutable std::mutex mutex_;
    std::vector<Rule> rules_;
};

} // namespace adserver
