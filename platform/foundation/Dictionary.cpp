#include "platform/foundation/Dictionary.h"

#include <algorithm>

namespace foundation {

namespace {
constexpr std::size_t kIndexThreshold = 16;
}

Dictionary::Dictionary(std::initializer_list<Entry> entries) {
    for (const auto& [key, value] : entries)
        set(key, value);
}

Dictionary::Dictionary(const Dictionary& other) : entries_(other.entries_) { rebuildIndex(); }

Dictionary& Dictionary::operator=(const Dictionary& other) {
    if (this != &other) {
        entries_ = other.entries_;
        rebuildIndex();
    }
    return *this;
}

void Dictionary::rebuildIndex() {
    if (entries_.size() < kIndexThreshold) {
        index_.reset();
        return;
    }
    index_ = std::make_unique<std::unordered_map<std::string_view, std::size_t>>();
    index_->reserve(entries_.size() * 2);
    for (std::size_t i = 0; i < entries_.size(); ++i)
        index_->emplace(entries_[i].first, i);
}

std::ptrdiff_t Dictionary::indexOf(std::string_view key) const {
    if (index_) {
        auto it = index_->find(key);
        return it == index_->end() ? -1 : static_cast<std::ptrdiff_t>(it->second);
    }
    for (std::size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i].first == key)
            return static_cast<std::ptrdiff_t>(i);
    return -1;
}

void Dictionary::set(std::string key, Value value) {
    if (value.isNull()) {
        remove(key);
        return;
    }
    setIncludingNull(std::move(key), std::move(value));
}

void Dictionary::setIncludingNull(std::string key, Value value) {
    auto at = indexOf(key);
    if (at >= 0) {
        entries_[static_cast<std::size_t>(at)].second = std::move(value);
        return;
    }
    const auto capacity = entries_.capacity();
    entries_.emplace_back(std::move(key), std::move(value));
    // The index holds views of the keys, so a reallocation (which may move short strings)
    // means rebuilding it.
    if (index_ && capacity == entries_.capacity())
        index_->emplace(entries_.back().first, entries_.size() - 1);
    else if (entries_.size() >= kIndexThreshold)
        rebuildIndex();
}

void Dictionary::reserve(std::size_t count) {
    const auto capacity = entries_.capacity();
    entries_.reserve(count);
    // Growing moves the keys the index points into.
    if (index_ && capacity != entries_.capacity())
        rebuildIndex();
}

void Dictionary::remove(std::string_view key) {
    auto at = indexOf(key);
    if (at < 0)
        return;
    entries_.erase(entries_.begin() + at);
    rebuildIndex();
}

const Value* Dictionary::find(std::string_view key) const {
    auto at = indexOf(key);
    return at < 0 ? nullptr : &entries_[static_cast<std::size_t>(at)].second;
}

const Value& Dictionary::get(std::string_view key) const {
    static const Value null;
    const Value* found = find(key);
    return found ? *found : null;
}

std::vector<std::string> Dictionary::keys() const {
    std::vector<std::string> out;
    out.reserve(entries_.size());
    for (const auto& entry : entries_)
        out.push_back(entry.first);
    return out;
}

bool Dictionary::operator==(const Dictionary& other) const {
    if (size() != other.size())
        return false;
    return std::all_of(entries_.begin(), entries_.end(), [&](const Entry& entry) {
        const Value* theirs = other.find(entry.first);
        return theirs && *theirs == entry.second;
    });
}

} // namespace foundation
