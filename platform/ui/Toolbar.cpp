#include "platform/ui/Toolbar.h"

#include "platform/ui/BarButtonItem.h"

#include <algorithm>

namespace ui {

namespace {
constexpr float kEdgeMargin = 6;
}

Toolbar::Toolbar(const graphics::Rect& frame) : ButtonBar(frame) {}

void Toolbar::setItems(std::vector<std::shared_ptr<BarButtonItem>> items) {
    items_ = std::move(items);
    setNeedsDisplay();
}

std::vector<ButtonBar::PlacedItem> Toolbar::placedItems() const {
    float fixed = 0;
    int flexible = 0;
    for (const auto& item : items_) {
        fixed += item->width();
        flexible += item->isFlexibleSpace() ? 1 : 0;
    }
    const float room = bounds().width() - 2 * kEdgeMargin - fixed;
    const float share = flexible > 0 ? std::max(0.0f, room / float(flexible)) : 0;
    std::vector<PlacedItem> placed;
    float x = bounds().minX() + kEdgeMargin;
    for (const auto& item : items_) {
        if (item->isFlexibleSpace()) {
            x += share;
            continue;
        }
        placed.push_back(
            {item, graphics::Rect(x, bounds().minY(), item->width(), bounds().height())});
        x += item->width();
    }
    return placed;
}

} // namespace ui
