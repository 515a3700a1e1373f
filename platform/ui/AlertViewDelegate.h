#pragma once

namespace ui {

class AlertView;

// Told which button closed an alert. A tap is told as a click, then as the dismissal; a
// dismissal in code is told only as the dismissal.
class AlertViewDelegate {
public:
    virtual ~AlertViewDelegate() = default;
    virtual void clickedButtonAtIndex(AlertView&, int) {}
    virtual void willDismissWithButtonIndex(AlertView&, int) {}
    virtual void didDismissWithButtonIndex(AlertView&, int) {}
};

} // namespace ui
