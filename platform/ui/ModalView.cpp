#include "platform/ui/ModalView.h"

#include "platform/graphics/Context.h"
#include "platform/graphics/Font.h"
#include "platform/graphics/LineBreakMode.h"
#include "platform/graphics/TextAlignment.h"
#include "platform/ui/AlertStack.h"
#include "platform/ui/Gloss.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Touch.h"

namespace ui {

using graphics::Color;
using graphics::Rect;

namespace {
const Color kPressedTop(0.36f, 0.55f, 0.96f, 1);
const Color kPressedBottom(0.08f, 0.27f, 0.78f, 1);
} // namespace

ModalView::ModalView(const Rect& frame) : Control(frame) { setOpaque(false); }

void ModalView::setTitle(std::string title) {
    title_ = std::move(title);
    setNeedsDisplay();
}

int ModalView::addButtonWithTitle(std::string title) {
    buttonTitles_.push_back(std::move(title));
    return numberOfButtons() - 1;
}

std::string ModalView::buttonTitleAtIndex(int index) const {
    return index >= 0 && index < numberOfButtons() ? buttonTitles_[std::size_t(index)]
                                                   : std::string();
}

Rect ModalView::rectForButton(int index) const {
    return index >= 0 && index < int(buttonRects_.size()) ? buttonRects_[std::size_t(index)]
                                                          : Rect();
}

int ModalView::buttonIndexAtPoint(graphics::Point point) const {
    for (std::size_t i = 0; i < buttonRects_.size(); ++i)
        if (buttonRects_[i].contains(point))
            return int(i);
    return kNoButton;
}

void ModalView::present() {
    if (visible_)
        return;
    visible_ = true;
    layoutInScreen(Screen::main().bounds());
    AlertStack::shared().push(std::static_pointer_cast<ModalView>(sharedView()));
    animateIn();
}

void ModalView::dismissWithClickedButtonIndex(int index, bool animated) {
    if (!visible_)
        return;
    visible_ = false;
    auto protector = sharedView();
    tellWillDismiss(index);
    if (!animated) {
        finishDismissal(index);
        return;
    }
    setUserInteractionEnabled(false);
    animateOut([this, protector, index] { finishDismissal(index); });
}

void ModalView::finishDismissal(int index) {
    auto protector = sharedView();
    AlertStack::shared().remove(*this, index);
    setUserInteractionEnabled(true);
    tellDidDismiss(index);
}

void ModalView::touchesBegan(const TouchSet& touches, const Event& event) {
    if (touches.empty())
        return;
    pressed_ = buttonIndexAtPoint(touches.front()->locationInView(this));
    Control::touchesBegan(touches, event);
    setNeedsDisplay();
}

void ModalView::touchUpInside(graphics::Point location) {
    const int index = buttonIndexAtPoint(location);
    if (index == kNoButton || index != pressed_)
        return;
    auto protector = sharedView();
    tellClicked(index);
    dismissWithClickedButtonIndex(index, true);
}

void ModalView::drawButton(graphics::Context& context, int index, const Color& top,
                           const Color& bottom, const Color& titleColor) const {
    const Rect rect = rectForButton(index);
    const bool pressed = index == highlightedButtonIndex();
    Gloss::fillRoundedRect(context, rect, 6, pressed ? kPressedTop : top,
                           pressed ? kPressedBottom : bottom);
    context.setStrokeColor(Color::colorWithWhite(pressed ? 1 : 0, 0.45f));
    context.setLineWidth(1);
    context.beginPath();
    context.addRoundedRect(rect.inset(0.5f, 0.5f), 6);
    context.strokePath();
    const graphics::Font font = graphics::Font::boldSystemFont(18);
    const std::string title = buttonTitleAtIndex(index);
    const float height = font.sizeOfText(title).height;
    const Rect line(rect.minX() + 6, rect.midY() - height / 2, rect.width() - 12, height);
    context.drawText(title, line, font, pressed ? Color::whiteColor() : titleColor,
                     graphics::TextAlignment::Center, graphics::LineBreakMode::TruncateMiddle);
}

} // namespace ui
