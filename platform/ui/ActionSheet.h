#pragma once

#include "platform/ui/ModalView.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ui {

class ActionSheetDelegate;
class Toolbar;

// A panel of wide buttons that slides up from the bottom of the dimmed screen: an optional
// title, then the destructive button (red), the other buttons, and the cancel button set
// apart at the bottom; indexes follow that order.
class ActionSheet : public ModalView {
    UI_CREATABLE(ActionSheet)
    static constexpr float kButtonHeight = 46;

    std::string className() const override { return "ActionSheet"; }
    std::optional<std::string> dumpText() const override { return title(); }

    std::shared_ptr<ActionSheetDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(std::weak_ptr<ActionSheetDelegate> delegate) {
        delegate_ = std::move(delegate);
    }
    int destructiveButtonIndex() const { return destructiveButtonIndex_; }

    // The sheet covers the toolbar as it comes up over the whole screen.
    void showFromToolbar(const Toolbar& toolbar);

    graphics::Rect titleRect() const { return titleRect_; }
    void drawRect(graphics::Context& context, const graphics::Rect& rect) override;

protected:
    ActionSheet(std::optional<std::string> title, std::weak_ptr<ActionSheetDelegate> delegate,
                std::optional<std::string> cancelButtonTitle,
                std::optional<std::string> destructiveButtonTitle,
                const std::vector<std::string>& otherButtonTitles);

    void layoutInScreen(const graphics::Rect& screen) override;
    void animateIn() override;
    void animateOut(std::function<void()> done) override;
    void tellClicked(int index) override;
    void tellWillDismiss(int index) override;
    void tellDidDismiss(int index) override;

private:
    std::weak_ptr<ActionSheetDelegate> delegate_;
    int destructiveButtonIndex_ = kNoButton;
    graphics::Rect titleRect_;
};

} // namespace ui
