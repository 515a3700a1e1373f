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
    // In landscape the bar runs along a long side; the frame is what remains.
    if (bar.width() >= kWidth)
        return graphics::Rect(0, bar.maxY(), kWidth, kHeight - bar.height());
    return bar.minX() > 0 ? graphics::Rect(0, 0, kWidth - bar.width(), kHeight)
                          : graphics::Rect(bar.maxX(), 0, kWidth - bar.width(), kHeight);
}

} // namespace ui
