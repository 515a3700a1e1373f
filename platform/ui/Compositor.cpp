#include "platform/ui/Compositor.h"

#include "platform/animation/Layer.h"
#include "platform/foundation/RunLoop.h"
#include "platform/graphics/CairoContext.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Application.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Window.h"

namespace ui {

using graphics::Color;

std::shared_ptr<graphics::Image> Compositor::renderScreen() {
    graphics::CairoContext context(Screen::main().bounds().size);
    context.setFillColor(Color::blackColor());
    context.fillRect(Screen::main().bounds());
    renderScreen(context);
    return context.makeImage();
}

void Compositor::renderScreen(graphics::Context& context) {
    const double now = foundation::RunLoop::main().now();
    for (const auto& window : Application::shared().screenWindows())
        renderLayer(context, *window->layer(), now);
}

void Compositor::renderLayer(graphics::Context& context, animation::Layer& layer, double time) {
    const animation::LayerValues values = layer.presentationAt(time);
    if (values.hidden || values.opacity <= 0)
        return;
    context.saveGState();
    context.concatCTM(values.transformToSuperlayer());
    const bool grouped = values.opacity < 1;
    if (grouped) {
        context.setAlpha(values.opacity);
        context.beginTransparencyLayer();
    }
    if (values.masksToBounds)
        context.clipToRect(values.bounds);
    if (values.backgroundColor && values.backgroundColor->alpha() > 0) {
        context.setFillColor(*values.backgroundColor);
        context.fillRect(values.bounds);
    }
    if (values.contents)
        context.drawImage(*values.contents, values.bounds);
    context.saveGState();
    layer.drawInContext(context);
    context.restoreGState();
    // A copy: drawing must not be disturbed by a delegate that changes the tree.
    const auto sublayers = layer.sublayers();
    for (const auto& sublayer : sublayers)
        renderLayer(context, *sublayer, time);
    if (grouped)
        context.endTransparencyLayer();
    context.restoreGState();
}

} // namespace ui
