#include "platform/ui/Control.h"

#include "platform/foundation/Value.h"

#include <map>

namespace ui {

void Control::configure(const foundation::Value& d) {
    View::configure(d);
    if (d["enabled"].isNumber())
        setEnabled(d["enabled"].boolValue());
    if (d["selected"].isNumber())
        setSelected(d["selected"].boolValue());
}

void Control::setEnabled(bool enabled) {
    enabled_ = enabled;
    setNeedsDisplay();
}

void Control::setSelected(bool selected) {
    selected_ = selected;
    setNeedsDisplay();
}

void Control::setHighlighted(bool highlighted) {
    highlighted_ = highlighted;
    setNeedsDisplay();
}

unsigned Control::state() const {
    unsigned s = ControlStateNormal;
    if (highlighted_)
        s |= ControlStateHighlighted;
    if (!enabled_)
        s |= ControlStateDisabled;
    if (selected_)
        s |= ControlStateSelected;
    return s;
}

void Control::addTarget(unsigned events, Action action) {
    if (action)
        targets_.emplace_back(events, std::move(action));
}

void Control::sendActionsForControlEvents(unsigned events) {
    // Keep the control alive and iterate a copy: an action may remove the control.
    auto protector = shared_from_this();
    const auto targets = targets_;
    for (const auto& [mask, action] : targets)
        if (mask & events)
            action();
}

unsigned Control::eventNamed(const std::string& name) {
    static const std::map<std::string, unsigned> events{
        {"touchDown", ControlEventTouchDown},
        {"touchDownRepeat", ControlEventTouchDownRepeat},
        {"touchDragInside", ControlEventTouchDragInside},
        {"touchDragOutside", ControlEventTouchDragOutside},
        {"touchUpInside", ControlEventTouchUpInside},
        {"touchUpOutside", ControlEventTouchUpOutside},
        {"touchCancel", ControlEventTouchCancel},
        {"valueChanged", ControlEventValueChanged},
    };
    auto it = events.find(name);
    return it == events.end() ? 0 : it->second;
}

void Control::touchesBegan(const TouchSet& touches, const Event&) {
    if (!enabled_ || touches.empty())
        return;
    tracking_ = true;
    touchInside_ = true;
    setHighlighted(true);
    sendActionsForControlEvents(touches.front()->tapCount() > 1 ? ControlEventTouchDownRepeat
                                                                : ControlEventTouchDown);
}

void Control::touchesMoved(const TouchSet& touches, const Event&) {
    if (!tracking_ || touches.empty())
        return;
    const bool inside = pointInside(touches.front()->locationInView(this));
    if (inside != touchInside_)
        sendActionsForControlEvents(inside ? ControlEventTouchDragEnter
                                           : ControlEventTouchDragExit);
    touchInside_ = inside;
    setHighlighted(inside);
    sendActionsForControlEvents(inside ? ControlEventTouchDragInside
                                       : ControlEventTouchDragOutside);
}

void Control::touchesEnded(const TouchSet& touches, const Event&) {
    if (!tracking_ || touches.empty())
        return;
    tracking_ = false;
    setHighlighted(false);
    const graphics::Point location = touches.front()->locationInView(this);
    if (pointInside(location)) {
        touchUpInside(location);
        sendActionsForControlEvents(ControlEventTouchUpInside);
    } else {
        sendActionsForControlEvents(ControlEventTouchUpOutside);
    }
}

void Control::touchesCancelled(const TouchSet&, const Event&) {
    if (!tracking_)
        return;
    tracking_ = false;
    setHighlighted(false);
    sendActionsForControlEvents(ControlEventTouchCancel);
}

} // namespace ui
