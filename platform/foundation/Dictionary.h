#pragma once

#include "platform/foundation/BlockPool.h"
#include "platform/foundation/Value.h"

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace foundation {

// String-keyed map that enumerates in insertion order. Setting a null value removes the key
// (so a setter can clear an entry); setIncludingNull stores null as a value instead, for data
// such as JSON where a null value differs from a missing key. Setting an existing key replaces
// its value in place.
class Dictionary {
public:
    using Entry = std::pair<std::string, Value>;

    Dictionary() = default;
    Dictionary(std::initializer_list<Entry> entries);
    Dictionary(const Dictionary& other);
    Dictionary& operator=(const Dictionary& other);
    Dictionary(Dictionary&&) noexcept = default;
    Dictionary& operator=(Dictionary&&) noexcept = default;

    void set(std::string key, Value value);
    void setIncludingNull(std::string key, Value value);
    void remove(std::string_view key);
    void reserve(std::size_t count);

    const Value* find(std::string_view key) const;
    bool contains(std::string_view key) const { return find(key) != nullptr; }
    // The value for the key, or null.
    const Value& get(std::string_view key) const;

    std::size_t size() const { return entries_.size(); }
    bool empty() const { return entries_.empty(); }
    std::vector<std::string> keys() const;
    auto begin() const { return entries_.begin(); }
    auto end() const { return entries_.end(); }

    bool operator==(const Dictionary& other) const;

private:
    std::ptrdiff_t indexOf(std::string_view key) const;
    void rebuildIndex();

    std::vector<Entry, PoolAllocator<Entry>> entries_;
    // Only large dictionaries get a hash index; small ones are scanned.
    std::unique_ptr<std::unordered_map<std::string_view, std::size_t>> index_;
};

} // namespace foundation
