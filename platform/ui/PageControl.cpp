#include "platform/ui/PageControl.h"

#include "platform/graphics/Context.h"

#include <algorithm>
#include <numbers>

namespace ui {

using graphics::Color;
using graphics::Point;
using graphics::Rect;
using graphics::Size;

namespace {
constexpr Color kCurrentDot = Color::colorWithWhite(1, 1);
constexpr Color kOtherDot = Color::colorWithWhite(1, 0.3f);
} // namespace

PageControl::PageControl(const Rect& frame) : Control(frame) { setOpaque(false); }

void PageControl::setNumberOfPages(int pages) {
    numberOfPages_ = std::max(0, pages);
    setCurrentPage(currentPage_);
    setNeedsDisplay();
}

void PageControl::setCurrentPage(int page) {
    currentPage_ = std::clamp(page, 0, std::max(0, numberOfPages_ - 1));
    setNeedsDisplay();
}

void PageControl::setHidesForSinglePage(bool hides) {
    hidesForSinglePage_ = hides;
    setNeedsDisplay();
}

Size PageControl::sizeForNumberOfPages(int pages) {
    if (pages <= 0)
        return {0, kHeight};
    return {pages * (kDotDiameter + kDotSpacing) - kDotSpacing, kHeight};
}

void PageControl::drawRect(graphics::Context& context, const Rect&) {
    if (numberOfPages_ == 0 || (hidesForSinglePage_ && numberOfPages_ == 1))
        return;
    const float radius = kDotDiameter / 2;
    const float left = bounds().midX() - sizeForNumberOfPages(numberOfPages_).width / 2;
    for (int page = 0; page < numberOfPages_; ++page) {
        context.setFillColor(page == currentPage_ ? kCurrentDot : kOtherDot);
        context.beginPath();
        context.addArc(Point{left + page * (kDotDiameter + kDotSpacing) + radius, bounds().midY()},
                       radius, 0, 2 * std::numbers::pi_v<float>, false);
        context.fillPath();
    }
}

void PageControl::touchUpInside(Point location) {
    const int before = currentPage_;
    setCurrentPage(location.x < bounds().midX() ? currentPage_ - 1 : currentPage_ + 1);
    if (currentPage_ != before)
        sendActionsForControlEvents(ControlEventValueChanged);
}

} // namespace ui
