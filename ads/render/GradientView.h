#pragma once

#include "ads/render/FlexElement.h"
#include "platform/graphics/Color.h"
#include "platform/ui/View.h"

namespace pennant {

// A flex ad's gradient element: the banner's shine, drawn over the whole bounds. It neither
// records touches nor reports anything on a click.
class GradientView : public FlexElement<ui::View> {
    UI_CREATABLE(GradientView)
    std::string className() const override { return "GradientView"; }

    graphics::Color baseGradientColor() const { return baseGradientColor_; }
    float initialAlpha() const { return initialAlpha_; }
    // Where the gradient reaches the plain base colour, as a fraction of the height.
    float endPointY() const { return endPointY_; }

    void drawRect(graphics::Context& context, const graphics::Rect& rect) override;

protected:
    GradientView(const graphics::Rect& frame, graphics::Color baseColor, float initialAlpha,
                 float endPointY);

private:
    graphics::Color baseGradientColor_;
    float initialAlpha_;
    float endPointY_;
};

} // namespace pennant
