#pragma once

namespace ui {

class ActionSheet;

// Told which button closed an action sheet, as an alert's delegate is.
class ActionSheetDelegate {
public:
    virtual ~ActionSheetDelegate() = default;
    virtual void clickedButtonAtIndex(ActionSheet&, int) {}
    virtual void willDismissWithButtonIndex(ActionSheet&, int) {}
    virtual void didDismissWithButtonIndex(ActionSheet&, int) {}
};

} // namespace ui
