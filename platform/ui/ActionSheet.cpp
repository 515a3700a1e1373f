#include "platform/ui/ActionSheet.h"

#include "platform/graphics/Context.h"
#include "platform/graphics/Font.h"
#include "platform/graphics/Gradient.h"
#include "platform/graphics/LineBreakMode.h"
#include "platform/graphics/TextAlignment.h"
#include "platform/ui/ActionSheetDelegate.h"
#include "platform/ui/ViewAnimation.h"

namespace ui {

using graphics::Color;
using graphics::Rect;

namespace {
constexpr float kSideMargin = 20;
constexpr float kPadding = 16;
constexpr float kTitleTop = 12;
constexpr float kButtonGap = 8;
constexpr double kSlideSeconds = 0.3;

graphics::Font titleFont() { return graphics::Font::systemFont(13); }
} // namespace

ActionSheet::ActionSheet(std::optional<std::string> title,
                         std::weak_ptr<ActionSheetDelegate> delegate,
                         std::optional<std::string> cancelButtonTitle,
                         std::optional<std::string> destructiveButtonTitle,
                         const std::vector<std::string>& otherButtonTitles)
    : delegate_(std::move(delegate)) {
    setTitle(title.value_or(""));
    if (destructiveButtonTitle)
        destructiveButtonIndex_ = addButtonWithTitle(std::move(*destructiveButtonTitle));
    for (const auto& other : otherButtonTitles)
        addButtonWithTitle(other);
    if (cancelButtonTitle)
        setCancelButtonIndex(addButtonWithTitle(std::move(*cancelButtonTitle)));
}

void ActionSheet::showFromToolbar(const Toolbar&) { present(); }

void ActionSheet::layoutInScreen(const Rect& screen) {
    const float width = screen.width() - 2 * kSideMargin;
    float y = kPadding;
    titleRect_ = Rect();
    if (!title().empty()) {
        const float height = titleFont()
                                 .sizeOfText(title(), {width, screen.height() / 4},
                                             graphics::LineBreakMode::WordWrap)
                                 .height;
        titleRect_ = Rect(kSideMargin, kTitleTop, width, height);
        y = titleRect_.maxY() + kButtonGap * 1.5f;
    }
    std::vector<Rect> rects;
    for (int i = 0; i < numberOfButtons(); ++i) {
        // The cancel button stands apart from the choices above it.
        if (i == cancelButtonIndex() && i > 0)
            y += kButtonGap;
        rects.emplace_back(kSideMargin, y, width, kButtonHeight);
        y += kButtonHeight + kButtonGap;
    }
    setButtonRects(std::move(rects));
    const float height = y - kButtonGap + kPadding;
    setTransform(graphics::AffineTransform::identity());
    setFrame(Rect(screen.minX(), screen.maxY() - height, screen.width(), height));
}

void ActionSheet::animateIn() {
    const graphics::Point shown = center();
    setCenter({shown.x, shown.y + bounds().height()});
    beginAnimations("ActionSheetShow");
    setAnimationDuration(kSlideSeconds);
    setAnimationCurve(ViewAnimationCurve::EaseOut);
    setCenter(shown);
    commitAnimations();
}

void ActionSheet::animateOut(std::function<void()> done) {
    const graphics::Point shown = center();
    beginAnimations("ActionSheetDismiss");
    setAnimationDuration(kSlideSeconds);
    setAnimationCurve(ViewAnimationCurve::EaseIn);
    setAnimationDidStopHandler([done = std::move(done)](const std::string&, bool,
                                                        const std::shared_ptr<void>&) { done(); });
    setCenter({shown.x, shown.y + bounds().height()});
    commitAnimations();
}

void ActionSheet::tellClicked(int index) {
    if (auto d = delegate())
        d->clickedButtonAtIndex(*this, index);
}

void ActionSheet::tellWillDismiss(int index) {
    if (auto d = delegate())
        d->willDismissWithButtonIndex(*this, index);
}

void ActionSheet::tellDidDismiss(int index) {
    if (auto d = delegate())
        d->didDismissWithButtonIndex(*this, index);
}

void ActionSheet::drawRect(graphics::Context& context, const Rect&) {
    const Rect sheet = bounds();
    context.drawLinearGradient(
        {{Color(0.45f, 0.5f, 0.6f, 0.92f), Color(0.2f, 0.24f, 0.33f, 0.92f)}, {}},
        {sheet.midX(), sheet.minY()}, {sheet.midX(), sheet.maxY()}, {});
    context.setFillColor(Color::colorWithWhite(1, 0.5f));
    context.fillRect(Rect(sheet.minX(), sheet.minY(), sheet.width(), 1));
    context.drawText(title(), titleRect_, titleFont(), Color::colorWithWhite(1, 0.9f),
                     graphics::TextAlignment::Center, graphics::LineBreakMode::WordWrap);
    for (int i = 0; i < numberOfButtons(); ++i) {
        if (i == destructiveButtonIndex_)
            drawButton(context, i, Color(0.95f, 0.35f, 0.33f, 1), Color(0.72f, 0.05f, 0.04f, 1),
                       Color::whiteColor());
        else if (i == cancelButtonIndex())
            drawButton(context, i, Color(0.42f, 0.44f, 0.5f, 1), Color(0.14f, 0.16f, 0.22f, 1),
                       Color::whiteColor());
        else
            drawButton(context, i, Color::colorWithWhite(0.98f, 1), Color::colorWithWhite(0.78f, 1),
                       Color::colorWithWhite(0.1f, 1));
    }
}

} // namespace ui
