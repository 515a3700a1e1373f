#include "platform/ui/SearchBar.h"

#include "platform/graphics/Context.h"
#include "platform/graphics/Font.h"
#include "platform/graphics/LineBreakMode.h"
#include "platform/graphics/TextAlignment.h"
#include "platform/ui/Button.h"
#include "platform/ui/ButtonBar.h"
#include "platform/ui/Gloss.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/SearchBarDelegate.h"

#include <algorithm>
#include <numbers>

namespace ui {

using graphics::Color;
using graphics::Point;
using graphics::Rect;

namespace {

constexpr float kMargin = 6;
constexpr float kFieldHeight = 31;
constexpr float kCancelWidth = 60;
constexpr float kCancelHeight = 30;
// Room at the field's left for the magnifier, and at its right before the text stops.
constexpr float kTextInsetLeft = 26;
constexpr float kTextInsetRight = 8;

const Color kPlaceholderColor = Color::colorWithWhite(0.7f, 1);
const Color kFieldBorder = Color::colorWithWhite(0.45f, 1);
const Color kCaretColor{0.26f, 0.42f, 0.95f, 1};

graphics::Font textFont() { return graphics::Font::systemFont(14); }

// The UTF-8 text without its last character.
void dropLastCharacter(std::string& text) {
    while (!text.empty() && (static_cast<unsigned char>(text.back()) & 0xC0) == 0x80)
        text.pop_back();
    if (!text.empty())
        text.pop_back();
}

void drawMagnifier(graphics::Context& context, Point center) {
    constexpr float kRadius = 4.5f;
    const float reach = kRadius * std::numbers::sqrt2_v<float> / 2;
    context.setStrokeColor(Color::grayColor());
    context.setLineWidth(1.8f);
    context.beginPath();
    context.addArc(center, kRadius, 0, 2 * std::numbers::pi_v<float>, false);
    context.closePath();
    context.moveTo({center.x + reach, center.y + reach});
    context.lineTo({center.x + reach + 4, center.y + reach + 4});
    context.strokePath();
}

} // namespace

std::shared_ptr<SearchBar> SearchBar::create(const Rect& frame) {
    std::shared_ptr<SearchBar> bar(new SearchBar(frame));
    bar->addSubview(bar->cancelButton_);
    bar->cancelButton_->addTarget(ControlEventTouchUpInside,
                                  [weak = std::weak_ptr<SearchBar>(bar)] {
                                      if (auto self = weak.lock())
                                          self->cancelButtonClicked();
                                  });
    bar->layoutSubviews();
    return bar;
}

SearchBar::SearchBar(const Rect& frame) : View(frame), cancelButton_(Button::create()) {
    setOpaque(false);
    cancelButton_->setTitle("Cancel", ControlStateNormal);
    cancelButton_->setFont(graphics::Font::boldSystemFont(12));
    cancelButton_->setTitleShadowColor(Color(0, 0, 0, 0.4f), ControlStateNormal);
    cancelButton_->setHidden(true);
}

void SearchBar::setText(std::string text) {
    text_ = std::move(text);
    setNeedsDisplay();
}

void SearchBar::setPlaceholder(std::string placeholder) {
    placeholder_ = std::move(placeholder);
    setNeedsDisplay();
}

void SearchBar::setShowsCancelButton(bool shows) {
    showsCancelButton_ = shows;
    cancelButton_->setHidden(!shows);
    setNeedsDisplay();
}

void SearchBar::setTintColor(std::optional<Color> tint) {
    tint_ = tint;
    setNeedsDisplay();
}

Rect SearchBar::cancelButtonRect() const {
    const Rect b = bounds();
    return Rect(b.maxX() - kMargin - kCancelWidth, b.midY() - kCancelHeight / 2, kCancelWidth,
                kCancelHeight);
}

Rect SearchBar::fieldRect() const {
    const Rect b = bounds();
    const float right =
        showsCancelButton_ ? cancelButtonRect().minX() - kMargin : b.maxX() - kMargin;
    return Rect(b.minX() + kMargin, b.midY() - kFieldHeight / 2,
                std::max(0.0f, right - b.minX() - kMargin), kFieldHeight);
}

bool SearchBar::becomeFirstResponder() {
    if (isFirstResponder())
        return true;
    auto protector = sharedView();
    auto listener = delegate();
    if (listener && !listener->searchBarShouldBeginEditing(*this).value_or(true))
        return false;
    auto& keyboard = Keyboard::shared();
    if (!keyboard.handOver([this] { return View::becomeFirstResponder(); }))
        return false;
    setNeedsDisplay();
    if (listener)
        listener->searchBarTextDidBeginEditing(*this);
    // The delegate may have ended editing already.
    if (isFirstResponder())
        keyboard.show(returnKeyTitle());
    return true;
}

bool SearchBar::resignFirstResponder() {
    if (!isFirstResponder())
        return true;
    auto protector = sharedView();
    View::resignFirstResponder();
    setNeedsDisplay();
    if (auto listener = delegate())
        listener->searchBarTextDidEndEditing(*this);
    Keyboard::shared().hide();
    return true;
}

void SearchBar::changeText(std::string text) {
    text_ = std::move(text);
    setNeedsDisplay();
    auto protector = sharedView();
    if (auto listener = delegate())
        listener->textDidChange(*this, text_);
}

void SearchBar::insertText(const std::string& text) {
    if (!text.empty())
        changeText(text_ + text);
}

void SearchBar::deleteBackward() {
    if (text_.empty())
        return;
    std::string shorter = text_;
    dropLastCharacter(shorter);
    changeText(std::move(shorter));
}

void SearchBar::returnKeyPressed() {
    auto protector = sharedView();
    if (auto listener = delegate())
        listener->searchBarSearchButtonClicked(*this);
}

void SearchBar::cancelKeyPressed() {
    if (showsCancelButton_)
        cancelButtonClicked();
}

void SearchBar::cancelButtonClicked() {
    auto protector = sharedView();
    if (auto listener = delegate())
        listener->searchBarCancelButtonClicked(*this);
}

void SearchBar::touchesBegan(const TouchSet&, const Event&) {}

void SearchBar::touchesEnded(const TouchSet& touches, const Event&) {
    if (!touches.empty() && fieldRect().contains(touches.front()->locationInView(this)))
        becomeFirstResponder();
}

void SearchBar::layoutSubviews() { cancelButton_->setFrame(cancelButtonRect()); }

void SearchBar::didMoveToWindow() {
    // A field taken off the screen stops editing, and the keyboard goes with it.
    if (!window() && isFirstResponder())
        resignFirstResponder();
}

void SearchBar::drawRect(graphics::Context& context, const Rect&) {
    const Color tint = tint_.value_or(ButtonBar::kDefaultTint);
    Gloss::fillBar(context, bounds(), tint);
    if (showsCancelButton_)
        Gloss::fillRoundedRect(context, cancelButtonRect(), 5, Gloss::lighter(tint, 0.2f), tint);
    drawField(context);
}

void SearchBar::drawField(graphics::Context& context) const {
    const Rect field = fieldRect();
    context.setFillColor(kFieldBorder);
    context.beginPath();
    context.addRoundedRect(field, field.height() / 2);
    context.fillPath();
    context.setFillColor(Color::whiteColor());
    context.beginPath();
    context.addRoundedRect(field.inset(1, 1), field.height() / 2 - 1);
    context.fillPath();
    drawMagnifier(context, {field.minX() + 13, field.midY() - 1.5f});

    const graphics::Font font = textFont();
    const Rect area(field.minX() + kTextInsetLeft, field.midY() - font.lineHeight() / 2,
                    std::max(0.0f, field.width() - kTextInsetLeft - kTextInsetRight),
                    font.lineHeight());
    if (text_.empty())
        context.drawText(placeholder_, area, font, kPlaceholderColor, graphics::TextAlignment::Left,
                         graphics::LineBreakMode::TruncateTail);
    else
        context.drawText(text_, area, font, Color::blackColor(), graphics::TextAlignment::Left,
                         graphics::LineBreakMode::TruncateHead);
    if (!isFirstResponder())
        return;
    const float caret = std::min(area.maxX(), area.minX() + font.sizeOfText(text_).width + 1);
    context.setFillColor(kCaretColor);
    context.fillRect(Rect(caret, area.minY(), 2, area.height()));
}

} // namespace ui
