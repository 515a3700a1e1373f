#pragma once

#include "platform/foundation/RunLoop.h"
#include "platform/ui/Application.h"
#include "platform/ui/Touch.h"
#include "platform/ui/View.h"

namespace testing_support {

// A finger going down and up at one place on the screen, or on a view.
class ScreenTap {
public:
    static void at(graphics::Point screenPoint) {
        const double now = foundation::RunLoop::main().now();
        auto& application = ui::Application::shared();
        application.sendTouch(int(ui::Touch::Phase::Began), screenPoint, now);
        application.sendTouch(int(ui::Touch::Phase::Ended), screenPoint, now);
    }
    // At the middle of a rectangle given in the view's coordinates.
    static void on(const ui::View& view, const graphics::Rect& rect) {
        at(view.convertPointToView({rect.midX(), rect.midY()}, nullptr));
    }
};

} // namespace testing_support
