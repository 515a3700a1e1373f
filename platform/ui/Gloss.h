#pragma once

#include "platform/graphics/Color.h"
#include "platform/graphics/Geometry.h"

namespace graphics {
class Context;
}

namespace ui {

// The glassy look the system's bars, alerts and their buttons share: a vertical gradient with
// a brighter sheen over its upper half.
class Gloss {
public:
    // A rounded rectangle in a gradient from top to bottom, with the sheen.
    static void fillRoundedRect(graphics::Context& context, const graphics::Rect& rect,
                                float radius, const graphics::Color& top,
                                const graphics::Color& bottom);
    // A bar's background in its tint, with a light line along the top and a dark one along
    // the bottom.
    static void fillBar(graphics::Context& context, const graphics::Rect& rect,
                        const graphics::Color& tint);
    // The colour moved toward white by amount (0 keeps it, 1 is white); alpha is kept.
    static graphics::Color lighter(const graphics::Color& color, float amount);
};

} // namespace ui
