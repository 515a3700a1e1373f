#include "platform/ui/Gloss.h"

#include "platform/graphics/Context.h"
#include "platform/graphics/Gradient.h"

namespace ui {

using graphics::Color;
using graphics::Rect;

namespace {

void fillGradient(graphics::Context& context, const Rect& rect, const Color& top,
                  const Color& bottom) {
    context.drawLinearGradient({{top, bottom}, {}}, {rect.midX(), rect.minY()},
                               {rect.midX(), rect.maxY()}, {});
}

void addSheen(graphics::Context& context, const Rect& rect) {
    const Rect upper(rect.minX(), rect.minY(), rect.width(), rect.height() / 2);
    fillGradient(context, upper, Color::colorWithWhite(1, 0.35f), Color::colorWithWhite(1, 0.1f));
}

} // namespace

Color Gloss::lighter(const Color& color, float amount) {
    auto mix = [amount](float channel) { return channel + (1 - channel) * amount; };
    return Color(mix(color.red()), mix(color.green()), mix(color.blue()), color.alpha());
}

void Gloss::fillRoundedRect(graphics::Context& context, const Rect& rect, float radius,
                            const Color& top, const Color& bottom) {
    context.saveGState();
    context.beginPath();
    context.addRoundedRect(rect, radius);
    context.clipToPath();
    fillGradient(context, rect, top, bottom);
    addSheen(context, rect);
    context.restoreGState();
}

void Gloss::fillBar(graphics::Context& context, const Rect& rect, const Color& tint) {
    context.saveGState();
    context.clipToRect(rect);
    fillGradient(context, rect, lighter(tint, 0.35f), tint);
    addSheen(context, rect);
    context.setFillColor(lighter(tint, 0.55f));
    context.fillRect(Rect(rect.minX(), rect.minY(), rect.width(), 1));
    context.setFillColor(Color::colorWithWhite(0, 0.6f));
    context.fillRect(Rect(rect.minX(), rect.maxY() - 1, rect.width(), 1));
    context.restoreGState();
}

} // namespace ui
