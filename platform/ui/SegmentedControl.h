#pragma once

#include "platform/ui/Control.h"

#include <string>
#include <vector>

namespace ui {

// A row of equally wide titled segments; touching one selects it and sends value-changed.
class SegmentedControl : public Control {
    UI_CREATABLE(SegmentedControl)
    static constexpr int kNoSegment = -1;

    std::string className() const override { return "SegmentedControl"; }
    void configure(const foundation::Value& description) override;

    std::size_t numberOfSegments() const { return items_.size(); }
    const std::vector<std::string>& items() const { return items_; }
    void setItems(std::vector<std::string> items);
    std::string titleForSegment(std::size_t index) const;
    // kNoSegment when nothing is selected.
    int selectedSegmentIndex() const { return selected_; }
    // Out-of-range indexes select nothing. Setting it programmatically sends no action.
    void setSelectedSegmentIndex(int index);
    bool isMomentary() const { return momentary_; }
    void setMomentary(bool momentary) { momentary_ = momentary; }

    graphics::Rect rectForSegment(std::size_t index) const;
    void drawRect(graphics::Context& context, const graphics::Rect& rect) override;

protected:
    explicit SegmentedControl(const graphics::Rect& frame = {});
    explicit SegmentedControl(std::vector<std::string> items);
    void touchUpInside(graphics::Point location) override;

private:
    std::vector<std::string> items_;
    int selected_ = kNoSegment;
    bool momentary_ = false;
};

} // namespace ui
