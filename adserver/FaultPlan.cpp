#include "adserver/FaultPlan.h"

#include "platform/foundation/Dictionary.h"

#include <algorithm>
#include <cctype>

namespace adserver {

namespace {

foundation::Error ruleError(std::string message) {
    return {"AdServerFaultErrorDomain", -1, std::move(message)};
}

const char* kindName(FaultPlan::Kind kind) {
    switch (kind) {
    case FaultPlan::Kind::Status:
        return "status";
    case FaultPlan::Kind::Delay:
        return "delay";
    case FaultPlan::Kind::CloseMidBody:
        return "close";
    case FaultPlan::Kind::Oversize:
        return "oversize";
    case FaultPlan::Kind::RedirectChain:
        return "redirects";
    case FaultPlan::Kind::RedirectLoop:
        return "loop";
    case FaultPlan::Kind::Body:
        return "body";
    }
    return "status";
}

// Reads the one effect the rule names; false when it names none or an unusable one.
bool readEffect(const foundation::Value& description, FaultPlan::Rule& rule) {
    if (const auto& status = description["status"]; status.isNumber()) {
        rule.kind = FaultPlan::Kind::Status;
        // Range-checked before narrowing, so 2^32 + 500 is not taken for 500.
        const long long code = status.intValue();
        rule.status = static_cast<int>(code);
        return code >= 100 && code <= 599;
    }
    if (const auto& delay = description["delay"]; delay.isNumber()) {
        rule.kind = FaultPlan::Kind::Delay;
        rule.delaySeconds = delay.doubleValue();
        return rule.delaySeconds >= 0 && rule.delaySeconds <= FaultPlan::kMaxDelaySeconds;
    }
    if (description["close"].boolValue()) {
        rule.kind = FaultPlan::Kind::CloseMidBody;
        return true;
    }
    if (const auto& oversize = description["oversize"]; oversize.isNumber()) {
        rule.kind = FaultPlan::Kind::Oversize;
        if (!oversize.isBoolean())
            rule.bytes = static_cast<std::size_t>(std::max(0LL, oversize.intValue()));
        return oversize.boolValue() && rule.bytes > 0 && rule.bytes <= FaultPlan::kMaxOversizeBytes;
    }
    if (const auto& redirects = description["redirects"]; redirects.isNumber()) {
        rule.kind = FaultPlan::Kind::RedirectChain;
        const long long length = redirects.intValue();
        rule.redirects = static_cast<int>(length);
        rule.to = description["to"].stringValue();
        // Chains stay on this server: the fault must not become an open redirector.
        const bool local = rule.to.empty() || FaultPlan::isLocalPath(rule.to);
        return local && length >= 1 && length <= FaultPlan::kMaxRedirectChain;
    }
    if (description["loop"].boolValue()) {
        rule.kind = FaultPlan::Kind::RedirectLoop;
        return true;
    }
    if (const auto& body = description["body"]; body.isString()) {
        rule.kind = FaultPlan::Kind::Body;
        rule.body = body.asString();
        return rule.body.size() <= FaultPlan::kMaxBodyBytes;
    }
    return false;
}

} // namespace

foundation::Result<FaultPlan::Rule> FaultPlan::parse(const foundation::Value& description) {
    Rule rule;
    if (!description["path"].isString() || description["path"].asString().empty())
        return ruleError("a fault needs a \"path\" pattern");
    rule.path = description["path"].asString();
    rule.method = description["method"].stringValue();
    if (const auto& count = description["count"]; count.isNumber()) {
        // A negative count would otherwise clamp to 0, which means every request.
        if (count.intValue() < 0)
            return ruleError("a fault's \"count\" cannot be negative");
        rule.count = static_cast<int>(std::min(count.intValue(), 1000000LL));
    }
    if (!readEffect(description, rule))
        return ruleError("a fault needs one of \"status\" (100-599), \"delay\" (0-120 s), "
                         "\"close\", \"oversize\", \"redirects\" (1-100), \"loop\" or \"body\" "
                         "(at most 64 KiB)");
    return rule;
}

bool FaultPlan::isLocalPath(std::string_view target) {
    // "//host" names another server, and browsers drop tabs and newlines and read a backslash as
    // "/", so "/<tab>/host" would too: only characters a URL path and query carry literally.
    static constexpr std::string_view kPlain = "-._~!$&'()*+,;=:@/?%";
    const bool plain = std::ranges::all_of(target, [](unsigned char c) {
        return std::isalnum(c) || kPlain.find(static_cast<char>(c)) != std::string_view::npos;
    });
    return plain && target.starts_with('/') && !target.starts_with("//");
}

bool FaultPlan::matches(std::string_view pattern, std::string_view path) {
    // Iterative glob with backtracking to the last "*": linear in practice, never recursive.
    std::size_t p = 0, s = 0, star = std::string_view::npos, resume = 0;
    while (s < path.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            resume = s;
        } else if (p < pattern.size() && pattern[p] == path[s]) {
            ++p;
            ++s;
        } else if (star != std::string_view::npos) {
            p = star + 1;
            s = ++resume;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

foundation::Status FaultPlan::add(Rule rule) {
    std::lock_guard lock(mutex_);
    if (rules_.size() >= kMaxRules)
        return ruleError("the fault plan is full (" + std::to_string(kMaxRules) +
                         " rules); clear it or let rules run out first");
    rules_.push_back(std::move(rule));
    return foundation::success();
}

void FaultPlan::clear() {
    std::lock_guard lock(mutex_);
    rules_.clear();
}

std::optional<FaultPlan::Rule> FaultPlan::take(std::string_view method, std::string_view path) {
    std::lock_guard lock(mutex_);
    const auto it = std::ranges::find_if(rules_, [&](const Rule& rule) {
        return (rule.method.empty() || rule.method == method) && matches(rule.path, path);
    });
    if (it == rules_.end())
        return std::nullopt;
    Rule rule = *it;
    if (it->count > 0 && --it->count == 0)
        rules_.erase(it);
    return rule;
}

foundation::Value FaultPlan::toValue() const {
    std::lock_guard lock(mutex_);
    foundation::Value::Array rules;
    for (const auto& rule : rules_)
        rules.push_back(foundation::Dictionary{
            {"path", rule.path},
            {"method", rule.method},
            {"count", foundation::Value::integer(rule.count)},
            {"kind", kindName(rule.kind)},
        });
    return foundation::Dictionary{{"faults", std::move(rules)}};
}

} // namespace adserver
