#pragma once

#ifndef INSIDE_PLATFORM_GRAPHICS
#error "TextBlock.h belongs to the Pango backend: include it only from platform/graphics"
#endif

// Internal to the graphics library: one piece of text laid out by Pango within a width and a
// height, shared by measuring and drawing so both agree line for line.

#include "platform/graphics/Geometry.h"

#include <pango/pangocairo.h>

#include <string_view>

namespace graphics {

class Font;
enum class LineBreakMode : int;
enum class TextAlignment : int;

class TextBlock {
public:
    // A constraint of 0 or less (or infinite) on an axis means unlimited. The caller holds
    // the FontSystem lock for the block's whole life.
    TextBlock(PangoContext* context, std::string_view text, const Font& font, Size constraint,
              LineBreakMode mode, TextAlignment alignment);
    ~TextBlock();
    TextBlock(const TextBlock&) = delete;
    TextBlock& operator=(const TextBlock&) = delete;

    // The kept lines' extent, rounded up to whole points.
    Size size() const { return size_; }
    // Draws the kept lines with the top-left of the block at origin, in the current source.
    void draw(cairo_t* target, Point origin) const;

private:
    void keepLinesThatFit(float heightLimit);

    PangoLayout* layout_;
    int keptLines_ = 0;
    Size size_;
};

} // namespace graphics
