#include "platform/ui/BarButtonItem.h"

#include "platform/graphics/Context.h"
#include "platform/graphics/Font.h"
#include "platform/graphics/Image.h"
#include "platform/graphics/LineBreakMode.h"
#include "platform/graphics/TextAlignment.h"
#include "platform/ui/Gloss.h"

#include <cmath>
#include <numbers>

namespace ui {

using graphics::Color;
using graphics::Point;
using graphics::Rect;

namespace {
constexpr float kGlyphItemWidth = 40;
constexpr float kImagePadding = 16;
constexpr float kBorderedHeight = 30;
constexpr float kTitlePadding = 10;
constexpr float kDisabledAlpha = 0.35f;
const Color kDoneBlue(0.2f, 0.42f, 0.9f, 1);

graphics::Font titleFont() { return graphics::Font::boldSystemFont(12); }

Color blend(const Color& a, const Color& b, float t) {
    const auto mix = [t](float x, float y) { return x + (y - x) * t; };
    return Color(mix(a.red(), b.red()), mix(a.green(), b.green()), mix(a.blue(), b.blue()),
                 mix(a.alpha(), b.alpha()));
}

void strokeLine(graphics::Context& context, Point from, Point to) {
    context.beginPath();
    context.moveTo(from);
    context.lineTo(to);
    context.strokePath();
}

void fillTriangle(graphics::Context& context, Point a, Point b, Point c) {
    context.beginPath();
    context.moveTo(a);
    context.lineTo(b);
    context.lineTo(c);
    context.closePath();
    context.fillPath();
}
} // namespace

BarButtonItem::BarButtonItem(BarButtonSystemItem item, Action action)
    : systemItem_(item), style_(item == BarButtonSystemItem::Done ? BarButtonItemStyle::Done
                                                                  : BarButtonItemStyle::Plain),
      action_(std::move(action)) {}

BarButtonItem::BarButtonItem(std::shared_ptr<graphics::Image> image, BarButtonItemStyle style,
                             Action action)
    : image_(std::move(image)), style_(style), action_(std::move(action)) {}

float BarButtonItem::width() const {
    if (systemItem_ == BarButtonSystemItem::Done)
        return titleFont().sizeOfText("Done").width + 2 * kTitlePadding;
    if (image_)
        return image_->size().width + kImagePadding;
    return isFlexibleSpace() ? 0 : kGlyphItemWidth;
}

bool BarButtonItem::perform() const {
    if (!enabled_ || !action_)
        return false;
    action_();
    return true;
}

void BarButtonItem::draw(graphics::Context& context, const Rect& frame, const Color& tint,
                         bool highlighted) const {
    context.saveGState();
    if (!enabled_)
        context.setAlpha(kDisabledAlpha);
    if (style_ != BarButtonItemStyle::Plain) {
        drawBordered(context, frame, tint, highlighted);
    } else {
        if (highlighted) {
            context.setFillColor(Color::colorWithWhite(1, 0.3f));
            context.beginPath();
            context.addArc({frame.midX(), frame.midY()}, 15, 0, 2 * std::numbers::pi_v<float>,
                           false);
            context.fillPath();
        }
        if (image_) {
            const graphics::Size size = image_->size();
            context.drawImage(*image_,
                              Rect(frame.midX() - size.width / 2, frame.midY() - size.height / 2,
                                   size.width, size.height));
        } else {
            drawGlyph(context, {frame.midX(), frame.midY()});
        }
    }
    context.restoreGState();
}

void BarButtonItem::drawBordered(graphics::Context& context, const Rect& frame, const Color& tint,
                                 bool highlighted) const {
    Color base = style_ == BarButtonItemStyle::Done ? blend(tint, kDoneBlue, 0.5f) : tint;
    if (highlighted)
        base = blend(base, Color::blackColor(), 0.3f);
    const Rect button(frame.minX(), frame.midY() - kBorderedHeight / 2, frame.width(),
                      kBorderedHeight);
    Gloss::fillRoundedRect(context, button, 5, Gloss::lighter(base, 0.3f), base);
    context.setStrokeColor(Color::colorWithWhite(0, 0.55f));
    context.setLineWidth(1);
    context.beginPath();
    context.addRoundedRect(button.inset(0.5f, 0.5f), 5);
    context.strokePath();
    if (image_) {
        const graphics::Size size = image_->size();
        context.drawImage(*image_, Rect(button.midX() - size.width / 2,
                                        button.midY() - size.height / 2, size.width, size.height));
        return;
    }
    const graphics::Font font = titleFont();
    const float height = font.sizeOfText("Done").height;
    context.drawText(
        "Done", Rect(button.minX(), button.midY() - height / 2, button.width(), height), font,
        Color::whiteColor(), graphics::TextAlignment::Center, graphics::LineBreakMode::Clip);
}

// White glyphs about 20 points square, in the manner of the system's toolbar icons.
void BarButtonItem::drawGlyph(graphics::Context& context, Point c) const {
    constexpr float pi = std::numbers::pi_v<float>;
    context.setStrokeColor(Color::whiteColor());
    context.setFillColor(Color::whiteColor());
    context.setLineWidth(2.5f);
    switch (systemItem_.value_or(BarButtonSystemItem::FlexibleSpace)) {
    case BarButtonSystemItem::Stop:
        strokeLine(context, {c.x - 7, c.y - 7}, {c.x + 7, c.y + 7});
        strokeLine(context, {c.x + 7, c.y - 7}, {c.x - 7, c.y + 7});
        break;
    case BarButtonSystemItem::Refresh: {
        context.beginPath();
        context.addArc(c, 8, -pi / 3, 1.45f * pi, false);
        context.strokePath();
        const Point end{c.x + 8 * std::cos(-pi / 3), c.y + 8 * std::sin(-pi / 3)};
        fillTriangle(context, {end.x - 5, end.y - 4}, {end.x + 5, end.y - 1},
                     {end.x - 1, end.y + 6});
        break;
    }
    case BarButtonSystemItem::Action:
        context.setLineWidth(2);
        context.beginPath();
        context.moveTo({c.x - 3, c.y - 5});
        context.lineTo({c.x - 9, c.y - 5});
        context.lineTo({c.x - 9, c.y + 9});
        context.lineTo({c.x + 9, c.y + 9});
        context.lineTo({c.x + 9, c.y + 3});
        context.strokePath();
        context.beginPath();
        context.moveTo({c.x - 4, c.y + 4});
        context.addArcToPoint({c.x - 4, c.y - 6}, {c.x + 5, c.y - 6}, 6);
        context.lineTo({c.x + 5, c.y - 6});
        context.strokePath();
        fillTriangle(context, {c.x + 4, c.y - 12}, {c.x + 11, c.y - 6}, {c.x + 4, c.y});
        break;
    case BarButtonSystemItem::Done:
    case BarButtonSystemItem::FlexibleSpace:
        break;
    }
}

} // namespace ui
