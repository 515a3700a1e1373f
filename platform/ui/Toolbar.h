#pragma once

#include "platform/ui/ButtonBar.h"

namespace ui {

// A bar of items from left to right; flexible spaces share the room the others leave.
class Toolbar : public ButtonBar {
    UI_CREATABLE(Toolbar)
    std::string className() const override { return "Toolbar"; }

    const std::vector<std::shared_ptr<BarButtonItem>>& items() const { return items_; }
    void setItems(std::vector<std::shared_ptr<BarButtonItem>> items);

    std::vector<PlacedItem> placedItems() const override;

protected:
    explicit Toolbar(const graphics::Rect& frame = {});

private:
    std::vector<std::shared_ptr<BarButtonItem>> items_;
};

} // namespace ui
