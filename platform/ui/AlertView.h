#pragma once

#include "platform/ui/ModalView.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ui {

class AlertViewDelegate;

// A rounded translucent panel in the middle of the dimmed screen: a bold title, a message and
// its buttons, the cancel button first. Two buttons sit side by side, any other number one
// above the other. A message too long for the screen shows as many lines as fit.
class AlertView : public ModalView {
    UI_CREATABLE(AlertView)
    static constexpr float kWidth = 284;

    std::string className() const override { return "AlertView"; }
    std::optional<std::string> dumpText() const override { return title(); }

    const std::string& message() const { return message_; }
    // Lays the panel out again when shown.
    void setMessage(std::string message);
    std::shared_ptr<AlertViewDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(std::weak_ptr<AlertViewDelegate> delegate) { delegate_ = std::move(delegate); }
    // Index of the first button that is not the cancel button, or kNoButton.
    int firstOtherButtonIndex() const;

    void show();

    // Where the title and message are drawn, in the panel's coordinates.
    graphics::Rect titleRect() const { return titleRect_; }
    graphics::Rect messageRect() const { return messageRect_; }

    void drawRect(graphics::Context& context, const graphics::Rect& rect) override;

protected:
    AlertView(std::string title, std::string message, std::weak_ptr<AlertViewDelegate> delegate,
              std::optional<std::string> cancelButtonTitle,
              const std::vector<std::string>& otherButtonTitles);

    void layoutInScreen(const graphics::Rect& screen) override;
    void animateIn() override;
    void animateOut(std::function<void()> done) override;
    void tellClicked(int index) override;
    void tellWillDismiss(int index) override;
    void tellDidDismiss(int index) override;

private:
    // Places the title and message from the top; returns where the buttons start.
    float layoutText(float maxTextHeight);
    // Places the buttons from top; returns the panel's height.
    float layoutButtons(float top);

    std::string message_;
    std::weak_ptr<AlertViewDelegate> delegate_;
    graphics::Rect titleRect_;
    graphics::Rect messageRect_;
};

} // namespace ui
