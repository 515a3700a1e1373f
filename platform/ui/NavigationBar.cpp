#include "platform/ui/NavigationBar.h"

#include "platform/graphics/Context.h"
#include "platform/graphics/Font.h"
#include "platform/graphics/LineBreakMode.h"
#include "platform/graphics/TextAlignment.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/NavigationItem.h"

#include <algorithm>

namespace ui {

using graphics::Rect;

namespace {
constexpr float kEdgeMargin = 5;
constexpr float kTitleGap = 8;

graphics::Font titleFont() { return graphics::Font::boldSystemFont(20); }
} // namespace

NavigationBar::NavigationBar(const Rect& frame) : ButtonBar(frame) {}

std::optional<std::string> NavigationBar::dumpText() const {
    auto item = topItem();
    return item ? std::optional(item->title()) : std::nullopt;
}

std::shared_ptr<NavigationItem> NavigationBar::topItem() const {
    return items_.empty() ? nullptr : items_.back();
}

void NavigationBar::pushNavigationItem(std::shared_ptr<NavigationItem> item) {
    items_.push_back(std::move(item));
    setNeedsDisplay();
}

std::vector<ButtonBar::PlacedItem> NavigationBar::placedItems() const {
    std::vector<PlacedItem> placed;
    auto item = topItem();
    if (!item)
        return placed;
    const Rect b = bounds();
    if (auto left = item->leftBarButtonItem())
        placed.push_back({left, Rect(b.minX() + kEdgeMargin, b.minY(), left->width(), b.height())});
    if (auto right = item->rightBarButtonItem())
        placed.push_back({right, Rect(b.maxX() - kEdgeMargin - right->width(), b.minY(),
                                      right->width(), b.height())});
    return placed;
}

Rect NavigationBar::titleRect() const {
    // Centred on the bar, narrowed equally on both sides to clear the wider button.
    float inset = kEdgeMargin;
    for (const auto& placed : placedItems())
        inset = std::max(inset, kEdgeMargin + placed.frame.width() + kTitleGap);
    const Rect b = bounds();
    const float height = titleFont().lineHeight();
    return Rect(b.minX() + inset, b.midY() - height / 2, std::max(0.0f, b.width() - 2 * inset),
                height);
}

void NavigationBar::drawRect(graphics::Context& context, const Rect& rect) {
    ButtonBar::drawRect(context, rect);
    auto item = topItem();
    if (!item || item->title().empty())
        return;
    const Rect title = titleRect();
    context.drawText(item->title(), title.offset(0, -1), titleFont(),
                     graphics::Color::colorWithWhite(0, 0.5f), graphics::TextAlignment::Center,
                     graphics::LineBreakMode::TruncateTail);
    context.drawText(item->title(), title, titleFont(), graphics::Color::whiteColor(),
                     graphics::TextAlignment::Center, graphics::LineBreakMode::TruncateTail);
}

} // namespace ui
