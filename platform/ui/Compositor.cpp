#include "platform/ui/Compositor.h"

#include "platform/animation/Layer.h"
#include "platform/animation/Transition.h"
#include "platform/foundation/RunLoop.h"
#include "platform/graphics/AffineTransform.h"
#include "platform/graphics/CairoContext.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Application.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Window.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>
#include <vector>

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
    renderLayer(context, layer, layer.presentationAt(time), time);
}

namespace {

using Presented = std::pair<std::shared_ptr<animation::Layer>, animation::LayerValues>;

bool isShown(const animation::LayerValues& values) { return !values.hidden && values.opacity > 0; }

// The shown sublayers with their values, back to front: by z position, equal ones in order.
std::vector<Presented> presentedSublayers(const animation::Layer& layer, double time) {
    std::vector<Presented> presented;
    for (const auto& sublayer : layer.sublayers())
        if (auto values = sublayer->presentationAt(time); isShown(values))
            presented.emplace_back(sublayer, std::move(values));
    std::stable_sort(presented.begin(), presented.end(), [](const auto& a, const auto& b) {
        return a.second.zPosition < b.second.zPosition;
    });
    return presented;
}

// Where a layer and its sublayers draw, in its bounds coordinates; nullopt when a transition
// in the tree slides content out of its bounds. Drawing outside a layer's own bounds belongs
// to no one, as on the phone, and may be left out.
std::optional<graphics::Rect> drawnArea(const animation::Layer& layer,
                                        const animation::LayerValues& values, double time) {
    if (layer.transitionAt(time))
        return std::nullopt;
    graphics::Rect area = values.bounds;
    if (values.masksToBounds)
        return area;
    for (const auto& [sublayer, subvalues] : presentedSublayers(layer, time)) {
        const auto below = drawnArea(*sublayer, subvalues, time);
        if (!below)
            return std::nullopt;
        area = area.unionWith(subvalues.transformToSuperlayer().apply(*below));
    }
    return area;
}

} // namespace

void Compositor::renderLayer(graphics::Context& context, animation::Layer& layer,
                             const animation::LayerValues& values, double time) {
    if (!isShown(values))
        return;
    context.saveGState();
    context.concatCTM(values.transformToSuperlayer());
    const bool grouped = values.opacity < 1;
    if (grouped) {
        context.setAlpha(values.opacity);
        if (const auto area = drawnArea(layer, values, time))
            context.beginTransparencyLayer(*area);
        else
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
    // Taken after drawing, which may change the tree; held, so drawing cannot free them.
    for (const auto& [sublayer, subvalues] : presentedSublayers(layer, time))
        renderLayer(context, *sublayer, subvalues, time);
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
