#include "platform/ui/Label.h"

#include "platform/foundation/Value.h"
#include "platform/graphics/Context.h"
#include "platform/ui/DescriptionReader.h"

namespace ui {

using graphics::Rect;
using graphics::Size;

Label::Label(const Rect& frame) : View(frame), font_(graphics::Font::systemFont(17)) {
    setBackgroundColor(graphics::Color::whiteColor());
    setUserInteractionEnabled(false);
}

void Label::configure(const foundation::Value& d) {
    View::configure(d);
    if (auto text = DescriptionReader::string(d["text"]))
        setText(*text);
    if (auto font = DescriptionReader::font(d["font"]))
        setFont(*font);
    if (auto color = DescriptionReader::color(d["textColor"]))
        setTextColor(*color);
    if (auto color = DescriptionReader::color(d["shadowColor"]))
        setShadowColor(*color);
    const std::string alignment = d["textAlignment"].stringValue();
    if (alignment == "center")
        setTextAlignment(graphics::TextAlignment::Center);
    else if (alignment == "right")
        setTextAlignment(graphics::TextAlignment::Right);
    if (d["numberOfLines"].isNumber())
        setNumberOfLines(static_cast<int>(d["numberOfLines"].intValue()));
    if (d["adjustsFontSizeToFitWidth"].isNumber())
        setAdjustsFontSizeToFitWidth(d["adjustsFontSizeToFitWidth"].boolValue());
    if (d["minimumFontSize"].isNumber())
        setMinimumFontSize(static_cast<float>(d["minimumFontSize"].doubleValue()));
}

void Label::setText(std::string text) {
    text_ = std::move(text);
    setNeedsDisplay();
}

void Label::setFont(const graphics::Font& font) {
    font_ = font;
    setNeedsDisplay();
}

void Label::setTextColor(graphics::Color color) {
    textColor_ = color;
    setNeedsDisplay();
}

void Label::setTextAlignment(graphics::TextAlignment alignment) {
    alignment_ = alignment;
    setNeedsDisplay();
}

void Label::setNumberOfLines(int lines) {
    numberOfLines_ = std::max(0, lines);
    setNeedsDisplay();
}

Size Label::textSize(const graphics::Font& font) const {
    float height = bounds().height();
    if (numberOfLines_ > 0)
        height = std::min(height, font.lineHeight() * float(numberOfLines_) + 0.5f);
    if (numberOfLines_ == 1)
        return font.sizeOfText(text_);
    return font.sizeOfText(text_, Size{bounds().width(), height}, lineBreakMode_);
}

graphics::Font Label::fittedFont() const {
    graphics::Font font = font_;
    if (!adjustsFontSize_ || numberOfLines_ != 1)
        return font;
    // A zero minimum still stops at one point; fractional sizes would otherwise step below it.
    const float smallest = std::max(minimumFontSize_, 1.0f);
    while (font.pointSize() > smallest && font.sizeOfText(text_).width > bounds().width())
        font = font.withSize(std::max(smallest, font.pointSize() - 1));
    return font;
}

void Label::drawRect(graphics::Context& context, const Rect&) {
    if (text_.empty())
        return;
    const graphics::Font font = fittedFont();
    const Size size = textSize(font);
    const float height = std::min(size.height, bounds().height());
    const Rect area(bounds().minX(), bounds().midY() - height / 2, bounds().width(), height);
    const auto mode =
        numberOfLines_ == 1 && lineBreakMode_ <= graphics::LineBreakMode::CharacterWrap
            ? graphics::LineBreakMode::Clip
            : lineBreakMode_;
    if (shadowColor_)
        context.drawText(text_, area.offset(0, -1), font, *shadowColor_, alignment_, mode);
    context.drawText(text_, area, font, textColor_, alignment_, mode);
}

} // namespace ui
