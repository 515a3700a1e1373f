#pragma once

#include "platform/ui/View.h"

#include <functional>
#include <string>
#include <vector>

namespace ui {

enum ControlState : unsigned {
    ControlStateNormal = 0,
    ControlStateHighlighted = 1 << 0,
    ControlStateDisabled = 1 << 1,
    ControlStateSelected = 1 << 2,
};

enum ControlEvent : unsigned {
    ControlEventTouchDown = 1 << 0,
    ControlEventTouchDownRepeat = 1 << 1,
    ControlEventTouchDragInside = 1 << 2,
    ControlEventTouchDragOutside = 1 << 3,
    ControlEventTouchDragEnter = 1 << 4,
    ControlEventTouchDragExit = 1 << 5,
    ControlEventTouchUpInside = 1 << 6,
    ControlEventTouchUpOutside = 1 << 7,
    ControlEventTouchCancel = 1 << 8,
    ControlEventValueChanged = 1 << 12,
};

// A view that tracks a touch and sends actions for control events. A touch that leaves the
// control and ends outside it sends touch-up-outside, not touch-up-inside.
class Control : public View {
    UI_CREATABLE(Control)
    using Action = std::function<void()>;

    std::string className() const override { return "Control"; }
    void configure(const foundation::Value& description) override;

    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled);
    bool isSelected() const { return selected_; }
    void setSelected(bool selected);
    bool isHighlighted() const { return highlighted_; }
    void setHighlighted(bool highlighted);
    bool isTracking() const { return tracking_; }
    unsigned state() const;

    void addTarget(unsigned events, Action action);
    void removeAllTargets() { targets_.clear(); }
    void sendActionsForControlEvents(unsigned events);
    // Reads an event name of an interface description ("touchUpInside", "valueChanged", ...).
    static unsigned eventNamed(const std::string& name);

    void touchesBegan(const TouchSet& touches, const Event& event) override;
    void touchesMoved(const TouchSet& touches, const Event& event) override;
    void touchesEnded(const TouchSet& touches, const Event& event) override;
    void touchesCancelled(const TouchSet& touches, const Event& event) override;

protected:
    // Declared, not inherited: an inherited constructor would leave a public default one.
    explicit Control(const graphics::Rect& frame = {}) : View(frame) {}

    // Hooks for subclasses: where a tracked touch ended inside the control.
    virtual void touchUpInside(graphics::Point) {}

private:
    bool enabled_ = true;
    bool selected_ = false;
    bool highlighted_ = false;
    bool tracking_ = false;
    bool touchInside_ = false;
    std::vector<std::pair<unsigned, Action>> targets_;
};

} // namespace ui
