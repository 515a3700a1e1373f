#include "platform/ui/AlertView.h"

#include "platform/graphics/Context.h"
#include "platform/graphics/Font.h"
#include "platform/graphics/LineBreakMode.h"
#include "platform/graphics/TextAlignment.h"
#include "platform/ui/AlertViewDelegate.h"
#include "platform/ui/Gloss.h"
#include "platform/ui/ViewAnimation.h"

#include <cmath>

namespace ui {

using graphics::Color;
using graphics::Rect;

namespace {
constexpr float kMargin = 12;
constexpr float kTextWidth = AlertView::kWidth - 2 * kMargin;
constexpr float kTopPadding = 16;
constexpr float kTitleGap = 6;
constexpr float kSectionGap = 14;
constexpr float kButtonHeight = 43;
constexpr float kButtonGap = 8;
constexpr float kSideGap = 6;
constexpr float kScreenMargin = 20;
constexpr double kAnimationSeconds = 0.2;

graphics::Font titleFont() { return graphics::Font::boldSystemFont(18); }
graphics::Font messageFont() { return graphics::Font::systemFont(16); }

float buttonsHeight(int count) {
    if (count == 0)
        return 0;
    const int rows = count == 2 ? 1 : count;
    return float(rows) * kButtonHeight + float(rows - 1) * kButtonGap + kSectionGap;
}
} // namespace

AlertView::AlertView(std::string title, std::string message,
                     std::weak_ptr<AlertViewDelegate> delegate,
                     std::optional<std::string> cancelButtonTitle,
                     const std::vector<std::string>& otherButtonTitles)
    : message_(std::move(message)), delegate_(std::move(delegate)) {
    setTitle(std::move(title));
    if (cancelButtonTitle)
        setCancelButtonIndex(addButtonWithTitle(std::move(*cancelButtonTitle)));
    for (const auto& other : otherButtonTitles)
        addButtonWithTitle(other);
}

void AlertView::setMessage(std::string message) {
    message_ = std::move(message);
    if (isVisible())
        layoutInScreen(superview()->bounds());
    setNeedsDisplay();
}

int AlertView::firstOtherButtonIndex() const {
    for (int i = 0; i < numberOfButtons(); ++i)
        if (i != cancelButtonIndex())
            return i;
    return kNoButton;
}

void AlertView::show() { present(); }

void AlertView::layoutInScreen(const Rect& screen) {
    const float maxHeight = screen.height() - 2 * kScreenMargin;
    const float maxText = maxHeight - kTopPadding - kSectionGap - buttonsHeight(numberOfButtons());
    const float height = layoutButtons(layoutText(maxText));
    setTransform(graphics::AffineTransform::identity());
    setFrame(Rect(std::round(screen.midX() - kWidth / 2), std::round(screen.midY() - height / 2),
                  kWidth, height));
}

float AlertView::layoutText(float maxTextHeight) {
    float y = kTopPadding;
    titleRect_ = messageRect_ = Rect();
    const auto place = [&](const std::string& text, const graphics::Font& font) {
        const graphics::Size size =
            font.sizeOfText(text, {kTextWidth, maxTextHeight - (y - kTopPadding)},
                            graphics::LineBreakMode::WordWrap);
        const Rect placed(kMargin, y, kTextWidth, size.height);
        y += size.height;
        return placed;
    };
    if (!title().empty())
        titleRect_ = place(title(), titleFont());
    if (!message_.empty()) {
        if (!title().empty())
            y += kTitleGap;
        messageRect_ = place(message_, messageFont());
    }
    return y + kSectionGap;
}

float AlertView::layoutButtons(float top) {
    const int count = numberOfButtons();
    std::vector<Rect> rects;
    if (count == 2) {
        const float width = (kTextWidth - kSideGap) / 2;
        rects = {Rect(kMargin, top, width, kButtonHeight),
                 Rect(kMargin + width + kSideGap, top, width, kButtonHeight)};
    } else {
        for (int i = 0; i < count; ++i)
            rects.emplace_back(kMargin, top + float(i) * (kButtonHeight + kButtonGap), kTextWidth,
                               kButtonHeight);
    }
    setButtonRects(std::move(rects));
    return top + buttonsHeight(count);
}

void AlertView::animateIn() {
    setAlpha(0);
    setTransform(graphics::AffineTransform::scale(0.8f, 0.8f));
    beginAnimations("AlertViewShow");
    setAnimationDuration(kAnimationSeconds);
    setAnimationCurve(ViewAnimationCurve::EaseOut);
    setAlpha(1);
    setTransform(graphics::AffineTransform::identity());
    commitAnimations();
}

void AlertView::animateOut(std::function<void()> done) {
    beginAnimations("AlertViewDismiss");
    setAnimationDuration(kAnimationSeconds);
    setAnimationDidStopHandler([done = std::move(done)](const std::string&, bool,
                                                        const std::shared_ptr<void>&) { done(); });
    setAlpha(0);
    commitAnimations();
}

void AlertView::tellClicked(int index) {
    if (auto d = delegate())
        d->clickedButtonAtIndex(*this, index);
}

void AlertView::tellWillDismiss(int index) {
    if (auto d = delegate())
        d->willDismissWithButtonIndex(*this, index);
}

void AlertView::tellDidDismiss(int index) {
    if (auto d = delegate())
        d->didDismissWithButtonIndex(*this, index);
}

void AlertView::drawRect(graphics::Context& context, const Rect&) {
    const Rect panel = bounds().inset(1, 1);
    Gloss::fillRoundedRect(context, panel, 10, Color(0.14f, 0.22f, 0.45f, 0.9f),
                           Color(0.03f, 0.07f, 0.25f, 0.9f));
    context.setStrokeColor(Color::colorWithWhite(1, 0.9f));
    context.setLineWidth(2);
    context.beginPath();
    context.addRoundedRect(panel, 10);
    context.strokePath();
    const auto text = [&](const std::string& s, const Rect& r, const graphics::Font& font) {
        context.drawText(s, r.offset(0, -1), font, Color::colorWithWhite(0, 0.5f),
                         graphics::TextAlignment::Center, graphics::LineBreakMode::WordWrap);
        context.drawText(s, r, font, Color::whiteColor(), graphics::TextAlignment::Center,
                         graphics::LineBreakMode::WordWrap);
    };
    text(title(), titleRect_, titleFont());
    text(message_, messageRect_, messageFont());
    for (int i = 0; i < numberOfButtons(); ++i) {
        const bool cancel = i == cancelButtonIndex() && numberOfButtons() > 1;
        drawButton(context, i,
                   cancel ? Color(0.38f, 0.42f, 0.55f, 0.95f) : Color(0.6f, 0.65f, 0.78f, 0.95f),
                   cancel ? Color(0.12f, 0.16f, 0.3f, 0.95f) : Color(0.27f, 0.33f, 0.5f, 0.95f),
                   Color::whiteColor());
    }
}

} // namespace ui
