#include "platform/ui/Screen.h"

#include "platform/ui/Application.h"

namespace ui {

Screen& Screen::main() {
    static Screen screen;
    return screen;
}

graphics::Rect Screen::applicationFrame() const {
    const graphics::Rect bar = Application::shared().statusBarFrame();
    if (bar.height() <= 0)
        return bounds();
    // Upside down the bar sits at the bottom; in landscape it runs along a long side. The
    // frame is what remains.
    if (bar.width() >= kWidth)
        return bar.minY() > 0 ? graphics::Rect(0, 0, kWidth, kHeight - bar.height())
                              : graphics::Rect(0, bar.maxY(), kWidth, kHeight - bar.height());
    return bar.minX() > 0 ? graphics::Rect(0, 0, kWidth - bar.width(), kHeight)
                          : graphics::Rect(bar.maxX(), 0, kWidth - bar.width(), kHeight);
}

} // namespace ui
