#include "platform/ui/Compositor.h"

#include "platform/animation/Layer.h"
#include "platform/animation/Transition.h"
#include "platform/foundation/RunLoop.h"
#include "platform/graphics/CairoContext.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Application.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Window.h"

#include <algorithm>
#include <cmath>

namespace ui {

using animation::Transition;
using graphics::AffineTransform;
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

std::shared_ptr<graphics::Image> Compositor::renderLayerImage(animation::Layer& layer) {
    const double now = foundation::RunLoop::main().now();
    const animation::LayerValues values = layer.presentationAt(now);
    graphics::CairoContext context(values.bounds.size);
    context.translate(-values.bounds.origin.x, -values.bounds.origin.y);
    renderContents(context, layer, values, now);
    return context.makeImage();
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
    if (layer.transitionAt(time))
        renderTransition(context, layer, values, time);
    else
        renderContents(context, layer, values, time);
    if (grouped)
        context.endTransparencyLayer();
    context.restoreGState();
}

void Compositor::renderContents(graphics::Context& context, animation::Layer& layer,
                                const animation::LayerValues& values, double time) {
    context.saveGState();
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
    auto sublayers = layer.sublayers();
    std::stable_sort(sublayers.begin(), sublayers.end(), [time](const auto& a, const auto& b) {
        return a->presentationAt(time).zPosition < b->presentationAt(time).zPosition;
    });
    for (const auto& sublayer : sublayers)
        renderLayer(context, *sublayer, time);
    context.restoreGState();
}

namespace {

// Where new content slides in from, as an offset of one whole bounds.
graphics::Point entryOffset(Transition::Subtype subtype, graphics::Size size) {
    switch (subtype) {
    case Transition::Subtype::FromRight:
        return {size.width, 0};
    case Transition::Subtype::FromLeft:
        return {-size.width, 0};
    case Transition::Subtype::FromTop:
        return {0, -size.height};
    case Transition::Subtype::FromBottom:
        break;
    }
    return {0, size.height};
}

AffineTransform shifted(graphics::Point offset, double by) {
    return AffineTransform::translation(float(offset.x * by), float(offset.y * by));
}

// A turn about the vertical axis through the centre, drawn flat: the content narrows to an
// edge at a quarter turn.
AffineTransform flipped(const graphics::Rect& bounds, double progress) {
    const float width = float(std::fabs(std::cos(progress * M_PI)));
    return AffineTransform::translation(-bounds.midX(), 0)
        .concat(AffineTransform::scale(width, 1))
        .concat(AffineTransform::translation(bounds.midX(), 0));
}

} // namespace

void Compositor::renderTransition(graphics::Context& context, animation::Layer& layer,
                                  const animation::LayerValues& values, double time) {
    const auto state = *layer.transitionAt(time);
    const Transition& transition = *state.transition;
    const double p = std::clamp(state.progress, 0.0, 1.0);
    auto draw = [&](const AffineTransform& transform, double alpha, bool old) {
        const auto& picture = old ? transition.oldContents() : transition.newContents();
        if (old && !picture)
            return;
        context.saveGState();
        context.concatCTM(transform);
        context.setAlpha(float(alpha));
        context.beginTransparencyLayer();
        if (picture)
            context.drawImage(*picture, values.bounds);
        else
            renderContents(context, layer, values, time);
        context.endTransparencyLayer();
        context.restoreGState();
    };
    const graphics::Point offset = entryOffset(transition.subtype(), values.bounds.size);
    switch (transition.type()) {
    case Transition::Type::Fade:
        draw({}, 1 - p, true);
        draw({}, p, false);
        break;
    case Transition::Type::MoveIn:
        draw({}, 1, true);
        draw(shifted(offset, 1 - p), 1, false);
        break;
    case Transition::Type::Push:
        draw(shifted(offset, -p), 1, true);
        draw(shifted(offset, 1 - p), 1, false);
        break;
    case Transition::Type::Reveal:
        draw({}, 1, false);
        draw(shifted(offset, -p), 1, true);
        break;
    case Transition::Type::FlipFromLeft:
    case Transition::Type::FlipFromRight:
        draw(flipped(values.bounds, p), 1, p < 0.5);
        break;
    }
}

} // namespace ui
