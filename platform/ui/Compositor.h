#pragma once

#include <memory>

namespace animation {
class Layer;
}

namespace graphics {
class Context;
class Image;
} // namespace graphics

namespace ui {

// Renders the screen: the layer of every visible window, status bar included, from bottom to
// top. Each layer is drawn in its own coordinates with its transform, opacity and clipping,
// using the values it presents at the run loop's current time.
class Compositor {
public:
    // The whole 320 by 480 screen.
    static std::shared_ptr<graphics::Image> renderScreen();
    static void renderScreen(graphics::Context& context);
    // One layer and its sublayers, with the context already in the superlayer's space.
    static void renderLayer(graphics::Context& context, animation::Layer& layer, double time);
};

} // namespace ui
