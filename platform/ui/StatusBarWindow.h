#pragma once

#include "platform/ui/Window.h"

namespace ui {

// The system's status bar: a window of its own at the status bar level, so it shows above
// the application's windows and below alerts. It takes no touches; those fall through to
// the windows below. The application places and shows it as its status bar state changes.
class StatusBarWindow : public Window {
    UI_CREATABLE(StatusBarWindow)

    std::string className() const override { return "StatusBarWindow"; }
    void drawRect(graphics::Context& context, const graphics::Rect& rect) override;

protected:
    StatusBarWindow();
};

} // namespace ui
