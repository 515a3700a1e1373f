#pragma once

#include "platform/graphics/Color.h"
#include "platform/ui/View.h"

namespace pennant {

// A translucent glossy panel: the base colour with a white sheen over its upper half and
// thin edge lines. The ad's banners and gradient elements draw the opaque shine below.
class ShineView : public ui::View {
    UI_CREATABLE(ShineView)
    std::string className() const override { return "ShineView"; }

    void drawRect(graphics::Context& context, const graphics::Rect& rect) override;
    // Over the bounds, leaving the drawing state as it found it.
    void drawTranslucentShineBackgroundWithBaseColor(graphics::Context& context,
                                                     const graphics::Color& color) const;
    // White under a gradient from the base colour at initialAlpha at the top to the plain
    // base colour at endFraction of the height, which covers the rest.
    static void drawShineBackground(graphics::Context& context, const graphics::Rect& bounds,
                                    const graphics::Color& color, float initialAlpha,
                                    float endFraction);

protected:
    explicit ShineView(const graphics::Rect& frame = {});
};

} // namespace pennant
