#pragma once

#include "platform/ui/Control.h"

namespace ui {

// A row of dots, one per page, the current page's bright. A tap left of the centre goes back
// one page, right of it forward one, and sends value-changed.
class PageControl : public Control {
    UI_CREATABLE(PageControl)
    static constexpr float kDotDiameter = 6.0f;
    static constexpr float kDotSpacing = 10.0f;
    static constexpr float kHeight = 36.0f;

    std::string className() const override { return "PageControl"; }

    int numberOfPages() const { return numberOfPages_; }
    void setNumberOfPages(int pages);
    // Kept within the pages.
    int currentPage() const { return currentPage_; }
    void setCurrentPage(int page);
    // With one page or none, nothing is drawn.
    bool hidesForSinglePage() const { return hidesForSinglePage_; }
    void setHidesForSinglePage(bool hides);

    // The size that shows the dots of this many pages.
    static graphics::Size sizeForNumberOfPages(int pages);
    void drawRect(graphics::Context& context, const graphics::Rect& rect) override;

protected:
    explicit PageControl(const graphics::Rect& frame = {});
    void touchUpInside(graphics::Point location) override;

private:
    int numberOfPages_ = 0;
    int currentPage_ = 0;
    bool hidesForSinglePage_ = false;
};

} // namespace ui
