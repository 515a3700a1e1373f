#pragma once

#include "platform/graphics/Color.h"
#include "platform/graphics/Geometry.h"
#include "platform/ui/Creatable.h"

#include <functional>
#include <memory>
#include <optional>

namespace graphics {
class Context;
class Image;
} // namespace graphics

namespace ui {

// The platform's numbers for the system's own bar buttons.
enum class BarButtonSystemItem : int {
    Done = 0,
    FlexibleSpace = 5,
    Action = 9,
    Refresh = 13,
    Stop = 14
};
enum class BarButtonItemStyle : int { Plain = 0, Bordered = 1, Done = 2 };

// A button on a toolbar or navigation bar: a system item (a titled or drawn glyph, or a
// flexible space) or an image. The bar that shows it places, draws and taps it; a disabled
// item is drawn faded and does nothing when tapped.
class BarButtonItem {
    UI_CREATABLE(BarButtonItem)
    using Action = std::function<void()>;

    std::optional<BarButtonSystemItem> systemItem() const { return systemItem_; }
    const std::shared_ptr<graphics::Image>& image() const { return image_; }
    BarButtonItemStyle style() const { return style_; }
    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled) { enabled_ = enabled; }
    void setAction(Action action) { action_ = std::move(action); }
    bool isFlexibleSpace() const { return systemItem_ == BarButtonSystemItem::FlexibleSpace; }

    // Its width on a bar; a flexible space's share of the room is the bar's to decide.
    float width() const;
    // Runs the action when enabled; says whether it ran.
    bool perform() const;
    void draw(graphics::Context& context, const graphics::Rect& frame, const graphics::Color& tint,
              bool highlighted) const;

protected:
    BarButtonItem(BarButtonSystemItem item, Action action);
    BarButtonItem(std::shared_ptr<graphics::Image> image, BarButtonItemStyle style, Action action);

private:
    void drawBordered(graphics::Context& context, const graphics::Rect& frame,
                      const graphics::Color& tint, bool highlighted) const;
    void drawGlyph(graphics::Context& context, graphics::Point center) const;

    std::optional<BarButtonSystemItem> systemItem_;
    std::shared_ptr<graphics::Image> image_;
    BarButtonItemStyle style_ = BarButtonItemStyle::Plain;
    bool enabled_ = true;
    Action action_;
};

} // namespace ui
