#pragma once

#include "platform/graphics/Color.h"
#include "platform/ui/Control.h"

#include <memory>
#include <optional>
#include <vector>

namespace ui {

class BarButtonItem;

// What toolbars and navigation bars share: a glossy background in the bar's tint and bar
// button items that it places, draws and taps. A tap runs the item it began and ended on.
class ButtonBar : public Control {
public:
    // The system's blue-grey, for bars without a tint of their own.
    static constexpr graphics::Color kDefaultTint{0.43f, 0.52f, 0.64f, 1};

    std::optional<graphics::Color> tintColor() const { return tint_; }
    void setTintColor(std::optional<graphics::Color> tint);

    struct PlacedItem {
        std::shared_ptr<BarButtonItem> item;
        graphics::Rect frame;
    };
    // The items that show, where they are in the bar's bounds now.
    virtual std::vector<PlacedItem> placedItems() const = 0;
    // The item under the point, or nullptr.
    std::shared_ptr<BarButtonItem> itemAtPoint(graphics::Point point) const;

    void touchesBegan(const TouchSet& touches, const Event& event) override;
    void drawRect(graphics::Context& context, const graphics::Rect& rect) override;

protected:
    explicit ButtonBar(const graphics::Rect& frame);
    void touchUpInside(graphics::Point location) override;
    graphics::Color effectiveTint() const { return tint_.value_or(kDefaultTint); }

private:
    std::optional<graphics::Color> tint_;
    std::shared_ptr<BarButtonItem> pressed_;
};

} // namespace ui
