#include "adserver/Journal.h"

#include "platform/foundation/Data.h"
#include "platform/foundation/Dictionary.h"

namespace adserver {

namespace {

// JSON carries text only: bytes that break UTF-8 become "?".
std::string printable(std::string text) {
    std::size_t from = 0;
    while (const auto bad = foundation::Data::firstInvalidUTF8(std::string_view(text).substr(from))) {
        text[from + *bad] = '?';
        from += *bad + 1;
    }
    return text;
}

foundation::Value entryValue(const Journal::Entry& entry) {
    foundation::Dictionary headers;
    for (const auto& [name, value] : entry.headers) {
        const auto* existing = headers.find(name);
        headers.set(name, existing ? foundation::Value(std::string(existing->asString()) + ", " + value)
                                   : foundation::Value(value));
    }
    return foundation::Dictionary{
        {"method", entry.method},
        {"path", entry.path},
        {"query", entry.query},
        {"headers", std::move(headers)},
        {"body", entry.body},
        {"time", foundation::Value::number(entry.time)},
    };
}

} // namespace

void Journal::record(Entry entry) {
    if (entry.body.size() > kMaxBodyBytes)
        entry.body.resize(kMaxBodyBytes);
    entry.body = printable(std::move(entry.body));
    entry.path = printable(std::move(entry.path));
    entry.query = printable(std::move(entry.query));
    for (auto& [name, value] : entry.headers) {
        name = printable(std::move(name));
        value = printable(std::move(value));
    }
    std::lock_guard lock(mutex_);
    entries_.push_back(std::move(entry));
    if (entries_.size() > kMaxEntries)
        entries_.pop_front();
}

void Journal::clear() {
    std::lock_guard lock(mutex_);
    entries_.clear();
}

std::vector<Journal::Entry> Journal::entries() const {
    std::lock_guard lock(mutex_);
    return {entries_.begin(), entries_.end()};
}

foundation::Value Journal::toValue() const {
    foundation::Value::Array requests;
    for (const auto& entry : entries())
        requests.push_back(entryValue(entry));
    return foundation::Dictionary{{"requests", std::move(requests)}};
}

} // namespace adserver
