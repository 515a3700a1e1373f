#pragma once

#include "platform/graphics/Geometry.h"

namespace ui {

// The phone's one screen: 320 by 480 points, one pixel per point.
class Screen {
public:
    static constexpr float kWidth = 320;
    static constexpr float kHeight = 480;
    static constexpr float kStatusBarHeight = 20;

    static Screen& main();
    graphics::Rect bounds() const { return graphics::Rect(0, 0, kWidth, kHeight); }
    // The bounds less the status bar when it shows.
    graphics::Rect applicationFrame() const;
};

} // namespace ui
