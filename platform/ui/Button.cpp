#include "platform/ui/Button.h"

#include "platform/foundation/Value.h"
#include "platform/graphics/Context.h"
#include "platform/graphics/Image.h"
#include "platform/graphics/LineBreakMode.h"
#include "platform/graphics/TextAlignment.h"
#include "platform/ui/DescriptionReader.h"

namespace ui {

using graphics::Rect;

Button::Button(const Rect& frame) : Control(frame), font_(graphics::Font::boldSystemFont(15)) {
    setOpaque(false);
}

void Button::configure(const foundation::Value& d) {
    Control::configure(d);
    if (auto title = DescriptionReader::string(d["title"]))
        setTitle(*title, ControlStateNormal);
    if (auto color = DescriptionReader::color(d["titleColor"]))
        setTitleColor(*color, ControlStateNormal);
    if (auto color = DescriptionReader::color(d["highlightedTitleColor"]))
        setTitleColor(*color, ControlStateHighlighted);
    if (auto color = DescriptionReader::color(d["titleShadowColor"]))
        setTitleShadowColor(*color, ControlStateNormal);
    if (auto font = DescriptionReader::font(d["font"]))
        setFont(*font);
}

template <typename Get>
auto Button::lookup(unsigned state, Get get) const -> decltype(get(StateLook{})) {
    if (auto it = looks_.find(state); it != looks_.end())
        if (auto value = get(it->second))
            return value;
    if (auto it = looks_.find(ControlStateNormal); it != looks_.end())
        return get(it->second);
    return {};
}

void Button::setTitle(const std::string& title, unsigned state) {
    looks_[state].title = title;
    setNeedsDisplay();
}

void Button::setTitleColor(const graphics::Color& color, unsigned state) {
    looks_[state].titleColor = color;
    setNeedsDisplay();
}

void Button::setTitleShadowColor(const graphics::Color& color, unsigned state) {
    looks_[state].titleShadowColor = color;
    setNeedsDisplay();
}

void Button::setBackgroundImage(std::shared_ptr<graphics::Image> image, unsigned state) {
    looks_[state].backgroundImage = std::move(image);
    setNeedsDisplay();
}

void Button::setImage(std::shared_ptr<graphics::Image> image, unsigned state) {
    looks_[state].image = std::move(image);
    setNeedsDisplay();
}

std::string Button::titleForState(unsigned state) const {
    return lookup(state, [](const StateLook& l) { return l.title; }).value_or("");
}

graphics::Color Button::titleColorForState(unsigned state) const {
    return lookup(state, [](const StateLook& l) { return l.titleColor; })
        .value_or(graphics::Color::whiteColor());
}

std::optional<graphics::Color> Button::titleShadowColorForState(unsigned state) const {
    return lookup(state, [](const StateLook& l) { return l.titleShadowColor; });
}

std::shared_ptr<graphics::Image> Button::backgroundImageForState(unsigned state) const {
    return lookup(state, [](const StateLook& l) { return l.backgroundImage; });
}

std::shared_ptr<graphics::Image> Button::imageForState(unsigned state) const {
    return lookup(state, [](const StateLook& l) { return l.image; });
}

void Button::setFont(const graphics::Font& font) {
    font_ = font;
    setNeedsDisplay();
}

void Button::drawRect(graphics::Context& context, const Rect&) {
    const unsigned s = state();
    if (auto background = backgroundImageForState(s))
        context.drawImage(*background, bounds());
    if (auto image = imageForState(s)) {
        const graphics::Size size = image->size();
        context.drawImage(*image, Rect(bounds().midX() - size.width / 2,
                                       bounds().midY() - size.height / 2, size.width, size.height));
    }
    const std::string title = titleForState(s);
    if (title.empty())
        return;
    const Rect area = bounds().inset(titleEdgeInsets_);
    const graphics::Size text =
        font_.sizeOfText(title, area.size, graphics::LineBreakMode::TruncateMiddle);
    const Rect line(area.minX(), area.midY() - text.height / 2, area.width(), text.height);
    if (auto shadow = titleShadowColorForState(s))
        context.drawText(title, line.offset(0, -1), font_, *shadow, graphics::TextAlignment::Center,
                         graphics::LineBreakMode::TruncateMiddle);
    context.drawText(title, line, font_, titleColorForState(s), graphics::TextAlignment::Center,
                     graphics::LineBreakMode::TruncateMiddle);
}

} // namespace ui
