#pragma once

#include "platform/graphics/Color.h"
#include "platform/ui/KeyInput.h"
#include "platform/ui/View.h"

#include <memory>
#include <optional>
#include <string>

namespace ui {

class Button;
class SearchBarDelegate;

// A bar in its tint holding a round text field with a magnifier, and optionally a cancel
// button at its right. A tap on the field, or becomeFirstResponder, starts editing: the
// keyboard comes up with a search key, and keys edit the text one at a time. The placeholder
// shows in grey while the text is empty.
class SearchBar : public View, public KeyInput {
public:
    // Not UI_CREATABLE: the cancel button is added and wired once the bar has an owner.
    static std::shared_ptr<SearchBar> create(const graphics::Rect& frame = {});
    static constexpr float kHeight = 44;

    std::string className() const override { return "SearchBar"; }
    std::optional<std::string> dumpText() const override { return text_; }

    const std::string& text() const { return text_; }
    void setText(std::string text);
    const std::string& placeholder() const { return placeholder_; }
    void setPlaceholder(std::string placeholder);
    bool showsCancelButton() const { return showsCancelButton_; }
    void setShowsCancelButton(bool shows);
    std::optional<graphics::Color> tintColor() const { return tint_; }
    void setTintColor(std::optional<graphics::Color> tint);
    std::shared_ptr<SearchBarDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(std::weak_ptr<SearchBarDelegate> delegate) { delegate_ = std::move(delegate); }

    // Where the text field and the cancel button lie, in bounds coordinates.
    graphics::Rect fieldRect() const;
    graphics::Rect cancelButtonRect() const;

    bool canBecomeFirstResponder() const override { return true; }
    // Asks the delegate first; brings the keyboard up.
    bool becomeFirstResponder() override;
    // Ends editing and sends the keyboard down.
    bool resignFirstResponder() override;

    void insertText(const std::string& text) override;
    void deleteBackward() override;
    void returnKeyPressed() override;
    void cancelKeyPressed() override;
    std::string returnKeyTitle() const override { return "Search"; }

    // A touch on the bar stays with it; one that lifts on the field starts editing.
    void touchesBegan(const TouchSet& touches, const Event& event) override;
    void touchesEnded(const TouchSet& touches, const Event& event) override;
    void layoutSubviews() override;
    void didMoveToWindow() override;
    void drawRect(graphics::Context& context, const graphics::Rect& rect) override;

protected:
    explicit SearchBar(const graphics::Rect& frame = {});

private:
    void changeText(std::string text);
    void cancelButtonClicked();
    void drawField(graphics::Context& context) const;

    std::string text_;
    std::string placeholder_;
    bool showsCancelButton_ = false;
    std::optional<graphics::Color> tint_;
    std::weak_ptr<SearchBarDelegate> delegate_;
    std::shared_ptr<Button> cancelButton_;
};

} // namespace ui
