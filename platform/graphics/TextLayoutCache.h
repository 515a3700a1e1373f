#pragma once

#ifndef INSIDE_PLATFORM_GRAPHICS
#error "TextLayoutCache.h belongs to the Pango backend: include it only from platform/graphics"
#endif

// Internal to the graphics library: text laid out for drawing, kept so that a label drawn
// again every frame re-uses its layout. Used under the FontSystem lock only.

#include "platform/graphics/Font.h"
#include "platform/graphics/Geometry.h"
#include "platform/graphics/LineBreakMode.h"
#include "platform/graphics/TextAlignment.h"
#include "platform/graphics/TextBlock.h"

#include <array>
#include <cstddef>
#include <list>
#include <memory>
#include <string>
#include <unordered_map>

namespace graphics {

class TextLayoutCache {
public:
    struct Key {
        std::string text;
        Font font;
        Size constraint;
        LineBreakMode mode;
        TextAlignment alignment;
        // The target's transform less its translation: glyph positions depend on it, the
        // layout's place on the page does not.
        std::array<double, 4> linearTransform{};

        bool operator==(const Key&) const = default;
    };

    // Bounds on what is kept: how many layouts, and roughly how much memory they take.
    TextLayoutCache(std::size_t maxEntries, std::size_t maxBytes);
    TextLayoutCache(const TextLayoutCache&) = delete;
    TextLayoutCache& operator=(const TextLayoutCache&) = delete;

    // The block kept for key, now the most recently used; nullptr when none is.
    const TextBlock* find(const Key& key);
    // Keeps block for key (replacing any kept before), dropping the least recently used blocks
    // beyond the bounds.
    const TextBlock& keep(Key key, std::unique_ptr<TextBlock> block);

private:
    struct KeyHash {
        std::size_t operator()(const Key& key) const noexcept;
    };
    struct Entry {
        std::unique_ptr<TextBlock> block;
        std::size_t bytes = 0;
        std::list<const Key*>::iterator recency;
    };

    void dropLeastRecentlyUsed();

    std::size_t maxEntries_;
    std::size_t maxBytes_;
    std::size_t bytes_ = 0;
    std::unordered_map<Key, Entry, KeyHash> entries_;
    // Keys of entries_, most recently used first.
    std::list<const Key*> recency_;
};

} // namespace graphics
