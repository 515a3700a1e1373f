#pragma once

#include "platform/ui/View.h"

#include <string>
#include <vector>

namespace ui {

// The keyboard's picture: three rows of letter keys (shift and delete beside the last), then
// the number key, the space bar and the return key. Keys scale with the bounds, so one layout
// serves portrait and landscape.
class KeyboardView : public View {
    UI_CREATABLE(KeyboardView)
    struct Key {
        std::string label;
        graphics::Rect rect;
        // Shift, delete and the number key: darker, as the system draws them.
        bool function = false;
    };

    std::string className() const override { return "KeyboardView"; }

    const std::string& returnKeyTitle() const { return returnKeyTitle_; }
    void setReturnKeyTitle(std::string title);
    // Every key in bounds coordinates, the return key last.
    std::vector<Key> keys() const;

    void drawRect(graphics::Context& context, const graphics::Rect& rect) override;

protected:
    explicit KeyboardView(const graphics::Rect& frame = {});

private:
    std::string returnKeyTitle_ = "return";
};

} // namespace ui
