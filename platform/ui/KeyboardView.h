#pragma once

#include "platform/ui/View.h"

#include <string>
#include <vector>

namespace ui {

// The keyboard's picture: three rows of letter keys (shift and delete beside the last), then
// the number key, the space bar and the return key. Keys scale with the bounds, so one layout
// serves portrait and landscape. A tap on a key types it into the first responder (letters in
// lower case; shift and the number key do nothing here).
class KeyboardView : public View {
    UI_CREATABLE(KeyboardView)
    enum class Role { Letter, Shift, Delete, Numbers, Space, Return };
    struct Key {
        std::string label;
        graphics::Rect rect;
        Role role;
    };

    std::string className() const override { return "KeyboardView"; }

    const std::string& returnKeyTitle() const { return returnKeyTitle_; }
    void setReturnKeyTitle(std::string title);
    // Every key in bounds coordinates, the return key last.
    std::vector<Key> keys() const;

    // Touches stay with the keyboard; a key acts when the finger lifts on it.
    void touchesBegan(const TouchSet& touches, const Event& event) override;
    void touchesEnded(const TouchSet& touches, const Event& event) override;

    void drawRect(graphics::Context& context, const graphics::Rect& rect) override;

protected:
    explicit KeyboardView(const graphics::Rect& frame = {});

private:
    std::string returnKeyTitle_ = "return";
};

} // namespace ui
