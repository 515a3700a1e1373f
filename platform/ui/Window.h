#pragma once

#include "platform/ui/View.h"

#include <map>

namespace ui {

// A top-level view on the screen. Windows draw in level order (higher above), then in the
// order they became visible; the key window receives keyboard input.
class Window : public View {
    UI_CREATABLE(Window)
    static constexpr float kLevelNormal = 0;
    // Above every application window, full-screen ones included.
    static constexpr float kLevelKeyboard = 1;
    static constexpr float kLevelAlert = 2000;
    static constexpr float kLevelStatusBar = 1000;

    std::string className() const override { return "Window"; }
    std::shared_ptr<Window> window() const override;

    float windowLevel() const { return level_; }
    void setWindowLevel(float level);
    void makeKeyAndVisible();
    void makeKeyWindow();
    bool isKeyWindow() const;
    void setHidden(bool hidden) override;
    virtual void becomeKeyWindow() {}
    virtual void resignKeyWindow() {}

    // Delivers a touch: at touch-down the hit view is found and keeps every later phase.
    void sendTouch(const std::shared_ptr<Touch>& touch);

    std::shared_ptr<Window> sharedWindow() {
        return std::static_pointer_cast<Window>(shared_from_this());
    }

protected:
    explicit Window(const graphics::Rect& frame = {});

private:
    float level_ = kLevelNormal;
};

} // namespace ui
