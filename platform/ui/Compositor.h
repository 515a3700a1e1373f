#pragma once

#include <memory>

namespace animation {
class Layer;
struct LayerValues;
} // namespace animation

namespace graphics {
class Context;
class Image;
} // namespace graphics

namespace ui {

// Renders the screen: the layer of every visible window, status bar included, from bottom to
// top. Each layer is drawn in its own coordinates with its transform, opacity and clipping,
// using the values it presents at the run loop's current time; a layer in a transition is
// drawn as the transition shows it at that time.
class Compositor {
public:
    // The whole 320 by 480 screen.
    static std::shared_ptr<graphics::Image> renderScreen();
    static void renderScreen(graphics::Context& context);
    // One layer and its sublayers, with the context already in the superlayer's space.
    static void renderLayer(graphics::Context& context, animation::Layer& layer, double time);
    // A picture of the layer and its sublayers in its own bounds, as shown now.
    static std::shared_ptr<graphics::Image> renderLayerImage(animation::Layer& layer);

private:
    static void renderLayer(graphics::Context& context, animation::Layer& layer,
                            const animation::LayerValues& values, double time);
    // Background, contents, the delegate's drawing and the sublayers, in bounds coordinates.
    static void renderContents(graphics::Context& context, animation::Layer& layer,
                               const animation::LayerValues& values, double time);
    static void renderTransition(graphics::Context& context, animation::Layer& layer,
                                 const animation::LayerValues& values, double time);
};

} // namespace ui
