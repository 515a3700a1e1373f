#include "ads/render/GradientView.h"

#include "ads/render/ShineView.h"

namespace pennant {

GradientView::GradientView(const graphics::Rect& frame, graphics::Color baseColor,
                           float initialAlpha, float endPointY)
    : FlexElement(frame), baseGradientColor_(baseColor), initialAlpha_(initialAlpha),
      endPointY_(endPointY) {
    setOpaque(true);
}

void GradientView::drawRect(graphics::Context& context, const graphics::Rect&) {
    ShineView::drawShineBackground(context, bounds(), baseGradientColor_, initialAlpha_,
                                   endPointY_);
}

} // namespace pennant
