#pragma once

#include "platform/ui/ButtonBar.h"

namespace ui {

class NavigationItem;

// The title bar along the top of a screen: it shows its top item's buttons at its ends and
// the title centred between them.
class NavigationBar : public ButtonBar {
    UI_CREATABLE(NavigationBar)
    std::string className() const override { return "NavigationBar"; }
    std::optional<std::string> dumpText() const override;

    const std::vector<std::shared_ptr<NavigationItem>>& items() const { return items_; }
    std::shared_ptr<NavigationItem> topItem() const;
    void pushNavigationItem(std::shared_ptr<NavigationItem> item);

    std::vector<PlacedItem> placedItems() const override;
    // Where the top item's title is drawn: centred, clear of the buttons.
    graphics::Rect titleRect() const;
    void drawRect(graphics::Context& context, const graphics::Rect& rect) override;

protected:
    explicit NavigationBar(const graphics::Rect& frame = {});

private:
    std::vector<std::shared_ptr<NavigationItem>> items_;
};

} // namespace ui
