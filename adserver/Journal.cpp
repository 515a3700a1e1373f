#include "adserver/Journal.h"

#include "platform/foundation/Data.h"
#include "platform/foundation/Dictionary.h"

#include <algorithm>

namespace adserver {

namespace {

// JSON carries text only: bytes that break UTF-8 become "?".
std::string printable(std::string text) {
    std::size_t from = 0;
    while (const auto bad =
               foundation::Data::firstInvalidUTF8(std::string_view(text).substr(from))) {
        text[from + *bad] = '?';
        from += *bad + 1;
    }
    return text;
}

// The head of the text, cut to the bound; a character cut in half becomes "?".
std::string bounded(std::string text, std::size_t maxBytes) {
    if (text.size() > maxBytes)
        text.resize(maxBytes);
    return printable(std::move(text));
}

// Keeps the leading headers that fit within both header bounds.
void boundHeaders(std::vector<std::pair<std::string, std::string>>& headers) {
    std::size_t kept = 0;
    for (std::size_t bytes = 0; kept < std::min(headers.size(), Journal::kMaxHeaders); ++kept) {
        bytes += headers[kept].first.size() + headers[kept].second.size();
        if (bytes > Journal::kMaxHeaderBytes)
            break;
    }
    headers.resize(kept);
    for (auto& [name, value] : headers) {
        name = printable(std::move(name));
        value = printable(std::move(value));
    }
}

std::size_t sizeOf(const Journal::Entry& entry) {
    std::size_t bytes = sizeof entry + entry.method.size() + entry.path.size() +
                        entry.query.size() + entry.body.size();
    for (const auto& [name, value] : entry.headers)
        bytes += sizeof name + name.size() + sizeof value + value.size();
    return bytes;
}

foundation::Value entryValue(const Journal::Entry& entry) {
    foundation::Dictionary headers;
    for (const auto& [name, value] : entry.headers) {
        const auto* existing = headers.find(name);
        headers.set(name, existing
                              ? foundation::Value(std::string(existing->asString()) + ", " + value)
                              : foundation::Value(value));
    }
    return foundation::Dictionary{
        {"method", entry.method}, {"path", entry.path},
        {"query", entry.query},   {"headers", std::move(headers)},
        {"body", entry.body},     {"time", foundation::Value::number(entry.time)},
    };
}

foundation::Value count(std::size_t number) {
    return foundation::Value::integer(static_cast<long long>(number));
}

} // namespace

void Journal::record(Entry entry) {
    entry.method = bounded(std::move(entry.method), kMaxTargetBytes);
    entry.path = bounded(std::move(entry.path), kMaxTargetBytes);
    entry.query = bounded(std::move(entry.query), kMaxTargetBytes);
    entry.body = bounded(std::move(entry.body), kMaxBodyBytes);
    boundHeaders(entry.headers);
    std::lock_guard lock(mutex_);
    bytes_ += sizeOf(entry);
    entries_.push_back(std::move(entry));
    while (entries_.size() > kMaxEntries || bytes_ > kMaxBytes) {
        bytes_ -= sizeOf(entries_.front());
        entries_.pop_front();
        ++dropped_;
    }
}

void Journal::clear() {
    std::lock_guard lock(mutex_);
    entries_.clear();
    bytes_ = 0;
    dropped_ = 0;
}

std::vector<Journal::Entry> Journal::entries() const {
    std::lock_guard lock(mutex_);
    return {entries_.begin(), entries_.end()};
}

std::size_t Journal::dropped() const {
    std::lock_guard lock(mutex_);
    return dropped_;
}

foundation::Value Journal::toValue(std::size_t offset, std::size_t limit) const {
    std::vector<Entry> page;
    std::size_t first = 0, total = 0, dropped = 0;
    {
        std::lock_guard lock(mutex_);
        first = std::max(offset, dropped_);
        total = dropped_ + entries_.size();
        dropped = dropped_;
        const std::size_t entries = std::min(limit, kMaxPageEntries);
        std::size_t bytes = 0;
        for (std::size_t i = first - dropped_; i < entries_.size() && page.size() < entries; ++i) {
            bytes += sizeOf(entries_[i]);
            if (!page.empty() && bytes > kMaxPageBytes)
                break;
            page.push_back(entries_[i]);
        }
    }
    foundation::Value::Array requests;
    for (const auto& entry : page)
        requests.push_back(entryValue(entry));
    return foundation::Dictionary{
        {"requests", std::move(requests)},    {"offset", count(first)},
        {"next", count(first + page.size())}, {"total", count(total)},
        {"dropped", count(dropped)},
    };
}

} // namespace adserver
