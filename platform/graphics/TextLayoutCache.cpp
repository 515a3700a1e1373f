#include "platform/graphics/TextLayoutCache.h"

#include <functional>

namespace graphics {
namespace {

// A rough share of memory per layout: Pango keeps attributes and glyphs for every byte.
std::size_t estimatedBytes(const std::string& text) { return 1024 + 64 * text.size(); }

void combine(std::size_t& seed, std::size_t value) {
    seed ^= value + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2);
}

} // namespace

std::size_t TextLayoutCache::KeyHash::operator()(const Key& key) const noexcept {
    std::size_t seed = std::hash<std::string>()(key.text);
    combine(seed, std::hash<Font>()(key.font));
    combine(seed, std::hash<float>()(key.constraint.width));
    combine(seed, std::hash<float>()(key.constraint.height));
    combine(seed, std::size_t(key.mode) * 8 + std::size_t(key.alignment));
    for (double component : key.linearTransform)
        combine(seed, std::hash<double>()(component));
    return seed;
}

TextLayoutCache::TextLayoutCache(std::size_t maxEntries, std::size_t maxBytes)
    : maxEntries_(maxEntries), maxBytes_(maxBytes) {}

const TextBlock* TextLayoutCache::find(const Key& key) {
    auto found = entries_.find(key);
    if (found == entries_.end())
        return nullptr;
    recency_.splice(recency_.begin(), recency_, found->second.recency);
    return found->second.block.get();
}

const TextBlock& TextLayoutCache::keep(Key key, std::unique_ptr<TextBlock> block) {
    auto [kept, added] = entries_.try_emplace(std::move(key));
    Entry& entry = kept->second;
    if (added) {
        recency_.push_front(&kept->first);
        entry.recency = recency_.begin();
    } else {
        bytes_ -= entry.bytes;
        recency_.splice(recency_.begin(), recency_, entry.recency);
    }
    entry.block = std::move(block);
    entry.bytes = estimatedBytes(kept->first.text);
    bytes_ += entry.bytes;
    // The newest entry always stays, however large.
    while (recency_.size() > 1 && (recency_.size() > maxEntries_ || bytes_ > maxBytes_))
        dropLeastRecentlyUsed();
    return *entry.block;
}

void TextLayoutCache::dropLeastRecentlyUsed() {
    auto oldest = entries_.find(*recency_.back());
    bytes_ -= oldest->second.bytes;
    recency_.pop_back();
    entries_.erase(oldest);
}

} // namespace graphics
