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
    refit();
}

void Label::setFont(const graphics::Font& font) {
    font_ = font;
    refit();
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
    refit();
}

void Label::setLineBreakMode(graphics::LineBreakMode mode) {
    lineBreakMode_ = mode;
    refit();
}

void Label::setAdjustsFontSizeToFitWidth(bool adjusts) {
    adjustsFontSize_ = adjusts;
    refit();
}

void Label::setMinimumFontSize(float size) {
    minimumFontSize_ = size;
    refit();
}

void Label::refit() {
    fitted_.reset();
    setNeedsDisplay();
}

const Label::Fitted& Label::fitted() const {
    if (!fitted_ || fitted_->boundsSize != bounds().size) {
        graphics::Font font = fitFont();
        const Size size = textSize(font);
        fitted_.emplace(Fitted{bounds().size, std::move(font), size});
    }
    return *fitted_;
}

Size Label::textSize(const graphics::Font& font) const {
    float height = bounds().height();
    if (numberOfLines_ > 0)
        height = std::min(height, font.lineHeight() * float(numberOfLines_) + 0.5f);
    if (numberOfLines_ == 1)
        return font.sizeOfText(text_);
    return font.sizeOfText(text_, Size{bounds().width(), height}, lineBreakMode_);
}

graphics::Font Label::fittedFont() const { return fitted().font; }

graphics::Font Label::fitFont() const {
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
    const Fitted& fit = fitted();
    const graphics::Font& font = fit.font;
    const float height = std::min(fit.textSize.height, bounds().height());
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
