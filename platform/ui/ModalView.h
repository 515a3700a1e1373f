#pragma once

#include "platform/graphics/Color.h"
#include "platform/ui/Control.h"

#include <string>
#include <vector>

namespace ui {

// What alerts and action sheets share: a title, a list of titled buttons indexed in the order
// they were added, showing above everything (see AlertStack) and going when a button is
// tapped or when dismissed in code. Subclasses place the panel and its buttons and tell their
// delegates; the panel draws and tracks the buttons itself.
class ModalView : public Control {
public:
    static constexpr int kNoButton = -1;

    const std::string& title() const { return title_; }
    void setTitle(std::string title);
    // The new button's index.
    int addButtonWithTitle(std::string title);
    int numberOfButtons() const { return int(buttonTitles_.size()); }
    const std::vector<std::string>& buttonTitles() const { return buttonTitles_; }
    std::string buttonTitleAtIndex(int index) const;
    int cancelButtonIndex() const { return cancelButtonIndex_; }
    void setCancelButtonIndex(int index) { cancelButtonIndex_ = index; }

    bool isVisible() const { return visible_; }
    // Takes the view off the screen as if the button had been tapped, without telling the
    // delegate about a click: it hears only the dismissal. Nothing happens when not shown.
    void dismissWithClickedButtonIndex(int index, bool animated);

    // In this view's coordinates, as last laid out; empty for an index out of range.
    graphics::Rect rectForButton(int index) const;
    // kNoButton when the point is on no button.
    int buttonIndexAtPoint(graphics::Point point) const;
    // The button under a touch that is down, or kNoButton.
    int highlightedButtonIndex() const { return isHighlighted() ? pressed_ : kNoButton; }

    void touchesBegan(const TouchSet& touches, const Event& event) override;

protected:
    explicit ModalView(const graphics::Rect& frame = {});

    // Lays out and puts the view on screen in its own window above everything.
    void present();
    void setButtonRects(std::vector<graphics::Rect> rects) { buttonRects_ = std::move(rects); }
    // Draws one button: a glossy rounded rectangle with its title.
    void drawButton(graphics::Context& context, int index, const graphics::Color& top,
                    const graphics::Color& bottom, const graphics::Color& titleColor) const;

    // Sizes the view and places its buttons in the given window bounds.
    virtual void layoutInScreen(const graphics::Rect& screen) = 0;
    virtual void animateIn() {}
    // Runs done once the view looks gone.
    virtual void animateOut(std::function<void()> done) { done(); }
    virtual void tellClicked(int) {}
    virtual void tellWillDismiss(int) {}
    virtual void tellDidDismiss(int) {}

    void touchUpInside(graphics::Point location) override;

private:
    void finishDismissal(int index);

    std::string title_;
    std::vector<std::string> buttonTitles_;
    std::vector<graphics::Rect> buttonRects_;
    int cancelButtonIndex_ = kNoButton;
    int pressed_ = kNoButton;
    bool visible_ = false;
};

} // namespace ui
