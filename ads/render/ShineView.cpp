#include "ads/render/ShineView.h"

#include "platform/graphics/Context.h"
#include "platform/graphics/Gradient.h"

namespace pennant {

using graphics::Color;
using graphics::Point;
using graphics::Rect;

namespace {

void strokeLine(graphics::Context& context, Point from, Point to, const Color& color) {
    context.setStrokeColor(color);
    context.beginPath();
    context.moveTo(from);
    context.lineTo(to);
    context.strokePath();
}

} // namespace

ShineView::ShineView(const Rect& frame) : View(frame) {
    setOpaque(false);
    setBackgroundColor(Color::clearColor());
    setContentMode(ui::ContentMode::Redraw);
}

void ShineView::drawRect(graphics::Context& context, const Rect&) {
    drawTranslucentShineBackgroundWithBaseColor(context, Color::colorWithWhite(0, 0.4f));
}

void ShineView::drawTranslucentShineBackgroundWithBaseColor(graphics::Context& context,
                                                            const Color& color) const {
    const float width = bounds().width(), height = bounds().height();
    context.saveGState();
    context.setFillColor(color);
    context.fillRect(bounds());
    const graphics::Gradient sheen{
        {Color::colorWithWhite(1, 0.4f), Color::colorWithWhite(1, 0.16f)}, {0.0f, 1.0f}};
    context.drawLinearGradient(sheen, Point{width * 0.5f, 0}, Point{width * 0.5f, height * 0.5f},
                               graphics::GradientOptions{true, false});
    context.setLineWidth(1.0f);
    context.setShouldAntialias(true);
    strokeLine(context, Point{0, 0}, Point{width, 0}, Color::colorWithWhite(1, 0.5f));
    strokeLine(context, Point{0, height}, Point{width, height}, Color::colorWithWhite(1, 0.5f));
    // Edges that meet a neighbour inside the superview get a highlight on the left and a
    // shadow on the right, so side-by-side panels read as separate buttons.
    if (frame().minX() > 0)
        strokeLine(context, Point{0, 0}, Point{0, height}, Color::whiteColor());
    if (auto parent = superview(); parent && frame().maxX() < parent->bounds().width())
        strokeLine(context, Point{width, 0}, Point{width, height}, Color::blackColor());
    context.restoreGState();
}

void ShineView::drawShineBackground(graphics::Context& context, const Rect& bounds,
                                    const Color& color, float initialAlpha, float endFraction) {
    const float width = bounds.width(), height = bounds.height();
    context.setFillColor(Color::whiteColor());
    context.fillRect(bounds);
    const graphics::Gradient shine{{color.withAlpha(initialAlpha), color}, {0.0f, 1.0f}};
    context.drawLinearGradient(shine, Point{width * 0.5f, 0},
                               Point{width * 0.5f, height * endFraction},
                               graphics::GradientOptions{false, true});
}

} // namespace pennant
