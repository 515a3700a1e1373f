#pragma once

#include "platform/animation/Forward.h"

namespace graphics {
class Context;
}

namespace animation {

// Draws a layer's content on its behalf; a view is the delegate of its own layer.
class LayerDelegate {
public:
    virtual void drawLayer(Layer& layer, graphics::Context& context) = 0;

protected:
    ~LayerDelegate() = default;
};

} // namespace animation
