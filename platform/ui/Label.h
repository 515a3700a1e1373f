#pragma once

#include "platform/graphics/Color.h"
#include "platform/graphics/Font.h"
#include "platform/graphics/LineBreakMode.h"
#include "platform/graphics/TextAlignment.h"
#include "platform/ui/View.h"

#include <optional>

namespace ui {

// Read-only text, vertically centred in the bounds. With adjustsFontSizeToFitWidth a
// single-line label shrinks its font, not below minimumFontSize, until the text fits.
class Label : public View {
    UI_CREATABLE(Label)
    std::string className() const override { return "Label"; }
    void configure(const foundation::Value& description) override;
    std::optional<std::string> dumpText() const override { return text_; }

    const std::string& text() const { return text_; }
    void setText(std::string text);
    const graphics::Font& font() const { return font_; }
    void setFont(const graphics::Font& font);
    graphics::Color textColor() const { return textColor_; }
    void setTextColor(graphics::Color color);
    std::optional<graphics::Color> shadowColor() const { return shadowColor_; }
    void setShadowColor(std::optional<graphics::Color> color) { shadowColor_ = color; }
    graphics::TextAlignment textAlignment() const { return alignment_; }
    void setTextAlignment(graphics::TextAlignment alignment);
    graphics::LineBreakMode lineBreakMode() const { return lineBreakMode_; }
    void setLineBreakMode(graphics::LineBreakMode mode);
    // 0 means as many lines as fit.
    int numberOfLines() const { return numberOfLines_; }
    void setNumberOfLines(int lines);
    bool adjustsFontSizeToFitWidth() const { return adjustsFontSize_; }
    void setAdjustsFontSizeToFitWidth(bool adjusts);
    float minimumFontSize() const { return minimumFontSize_; }
    void setMinimumFontSize(float size);

    // The font the text is drawn with once shrinking is applied.
    graphics::Font fittedFont() const;
    void drawRect(graphics::Context& context, const graphics::Rect& rect) override;

protected:
    explicit Label(const graphics::Rect& frame = {});

private:
    // Measuring is dear and a label is drawn every frame it animates, so the fitted font and
    // the text's size are kept for the bounds they were measured in, until a setting changes.
    struct Fitted {
        graphics::Size boundsSize;
        graphics::Font font;
        graphics::Size textSize;
    };
    const Fitted& fitted() const;
    graphics::Font fitFont() const;
    graphics::Size textSize(const graphics::Font& font) const;
    // After any change to what fitting reads: text, font, lines, line breaks, shrinking.
    void refit();

    std::string text_;
    graphics::Font font_;
    graphics::Color textColor_ = graphics::Color::blackColor();
    std::optional<graphics::Color> shadowColor_;
    graphics::TextAlignment alignment_ = graphics::TextAlignment::Left;
    graphics::LineBreakMode lineBreakMode_ = graphics::LineBreakMode::TruncateTail;
    int numberOfLines_ = 1;
    bool adjustsFontSize_ = false;
    float minimumFontSize_ = 0;
    mutable std::optional<Fitted> fitted_;
};

} // namespace ui
