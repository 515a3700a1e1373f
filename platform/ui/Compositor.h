#pragma once

#include <memory>

namespace graphics {
class Context;
class Image;
}

namespace ui {

class View;

// Renders the screen: every visible window from bottom to top, then the status bar when it
// shows. Each view is drawn in its own coordinates with its transform, alpha and clipping.
class Compositor {
public:
    // The whole 320 by 480 screen.
    static std::shared_ptr<graphics::Image> renderScreen();
    static void renderScreen(graphics::Context& context);
    // One view and its subviews, with the context already in the view's superview space.
    static void renderView(graphics::Context& context, View& view);

private:
    static void renderStatusBar(graphics::Context& context);
};

} // namespace ui
