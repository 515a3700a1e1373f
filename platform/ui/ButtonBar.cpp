#include "platform/ui/ButtonBar.h"

#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Gloss.h"
#include "platform/ui/Touch.h"

namespace ui {

ButtonBar::ButtonBar(const graphics::Rect& frame) : Control(frame) {}

void ButtonBar::setTintColor(std::optional<graphics::Color> tint) {
    tint_ = tint;
    setNeedsDisplay();
}

std::shared_ptr<BarButtonItem> ButtonBar::itemAtPoint(graphics::Point point) const {
    for (const auto& placed : placedItems())
        if (placed.frame.contains(point))
            return placed.item;
    return nullptr;
}

void ButtonBar::touchesBegan(const TouchSet& touches, const Event& event) {
    if (touches.empty())
        return;
    pressed_ = itemAtPoint(touches.front()->locationInView(this));
    Control::touchesBegan(touches, event);
}

void ButtonBar::touchUpInside(graphics::Point location) {
    auto item = itemAtPoint(location);
    if (item && item == pressed_)
        static_cast<void>(item->perform());
    pressed_ = nullptr;
}

void ButtonBar::drawRect(graphics::Context& context, const graphics::Rect&) {
    Gloss::fillBar(context, bounds(), effectiveTint());
    for (const auto& placed : placedItems())
        placed.item->draw(context, placed.frame, effectiveTint(),
                          isHighlighted() && placed.item == pressed_ && placed.item->isEnabled());
}

} // namespace ui
