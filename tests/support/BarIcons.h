#pragma once

#include "platform/graphics/CairoContext.h"
#include "platform/graphics/Image.h"

#include <memory>

namespace testing_support {

// White arrow icons like the browser's back and forward images, drawn here.
class BarIcons {
public:
    static std::shared_ptr<graphics::Image> arrow(bool pointsLeft) {
        graphics::CairoContext context({20, 20});
        context.setFillColor(graphics::Color::whiteColor());
        context.beginPath();
        const float tip = pointsLeft ? 2 : 18;
        const float back = pointsLeft ? 18 : 2;
        context.moveTo({tip, 10});
        context.lineTo({back, 2});
        context.lineTo({back, 18});
        context.closePath();
        context.fillPath();
        return context.makeImage();
    }
};

} // namespace testing_support
