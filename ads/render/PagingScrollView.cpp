#include "ads/render/PagingScrollView.h"

#include "ads/render/FlexTimeBase.h"
#include "ads/render/TouchForwardingView.h"
#include "platform/ui/PageControl.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/ViewAnimation.h"

#include <algorithm>
#include <cmath>
#include <fmt/format.h>

namespace pennant {

using graphics::Point;
using graphics::Rect;

std::shared_ptr<PagingScrollView> PagingScrollView::create(const Rect& frame,
                                                           unsigned initialPage) {
    std::shared_ptr<PagingScrollView> view(new PagingScrollView(frame, initialPage));
    // Both need the element's owner, which the constructor does not have yet.
    view->scrollView_->setDelegate(view);
    view->addSubview(view->scrollView_);
    return view;
}

PagingScrollView::PagingScrollView(const Rect& frame, unsigned initialPage)
    : FlexElement(frame), scrollView_(ui::ScrollView::create(bounds())), initialPage_(initialPage) {
    setUiTag(kDefaultUiTag);
    scrollView_->setPagingEnabled(true);
}

void PagingScrollView::setNumberOfPages(unsigned pages,
                                        std::weak_ptr<ui::Responder> touchDelegate) {
    const Rect page = scrollView_->bounds();
    scrollView_->setContentSize(graphics::Size{float(pages) * page.width(), page.height()});

    if (touchForwardingView_)
        touchForwardingView_->removeFromSuperview();
    touchForwardingView_ = TouchForwardingView::create(
        Rect(0, 0, float(pages) * page.width(), page.height()), std::move(touchDelegate));
    scrollView_->insertSubview(touchForwardingView_, 0);

    if (pageControl_)
        pageControl_->removeFromSuperview();
    const float width = ui::PageControl::sizeForNumberOfPages(int(pages)).width;
    pageControl_ = ui::PageControl::create(Rect((bounds().width() - width) * 0.5f,
                                                bounds().height() - kPageControlHeight, width,
                                                kPageControlHeight));
    pageControl_->setHidesForSinglePage(true);
    pageControl_->setNumberOfPages(int(pages));
    // The content sits on the first page until the ad first shows; moving to the initial
    // page then is a change of page like any other, and is recorded.
    pageControl_->setCurrentPage(0);
    pageControl_->setAlpha(kFadedAlpha);
    pageControl_->setTransform(graphics::AffineTransform::scale(0.7f, 0.7f));
    pageControl_->setUserInteractionEnabled(false);
    addSubview(pageControl_);
}

void PagingScrollView::addContentSubview(const std::shared_ptr<ui::View>& view, unsigned page) {
    if (!touchForwardingView_)
        return;
    Rect frame = view->frame();
    frame.origin.x += float(page) * scrollView_->bounds().width();
    view->setFrame(frame);
    touchForwardingView_->addSubview(view);
}

void PagingScrollView::fadePageControl(double seconds) {
    if (!pageControl_)
        return;
    View::beginAnimations("fadePageControl");
    View::setAnimationDuration(seconds);
    View::setAnimationCurve(ui::ViewAnimationCurve::EaseIn);
    View::setAnimationBeginsFromCurrentState(true);
    pageControl_->setAlpha(kFadedAlpha);
    View::commitAnimations();
}

void PagingScrollView::recordScrollToNewPage(unsigned page) {
    const auto container = containerView_.lock();
    storedScrolls_.push_back(
        fmt::format("{},{:f}", page, container ? container->timeIntervalSinceFirstRender() : 0.0));
}

void PagingScrollView::setContainerView(std::weak_ptr<FlexTimeBase> container) {
    containerView_ = std::move(container);
}

std::optional<foundation::Value> PagingScrollView::userInteractionHistory() const {
    return foundation::Value(
        foundation::Value::Array(storedScrolls_.begin(), storedScrolls_.end()));
}

void PagingScrollView::viewDidAppear() {
    scrollView_->setContentOffset(Point{float(initialPage_) * bounds().width(), 0});
    if (pageControl_) {
        pageControl_->setAlpha(1.0f);
        fadePageControl(kFadeSeconds);
    }
    FlexElement::viewDidAppear();
}

void PagingScrollView::scrollViewDidScroll(ui::ScrollView& scrollView) {
    if (!pageControl_)
        return;
    const float pageWidth = scrollView.bounds().width();
    if (pageWidth <= 0)
        return;
    // Half-way between two pages already counts as the next one.
    const int page = std::clamp(
        int(std::floor((scrollView.contentOffset().x - 0.5f * pageWidth) / pageWidth)) + 1, 0,
        std::max(0, pageControl_->numberOfPages() - 1));
    if (page != pageControl_->currentPage()) {
        recordScrollToNewPage(unsigned(page));
        pageControl_->setCurrentPage(page);
    }
    if (!scrollView.isDecelerating())
        pageControl_->setAlpha(1.0f);
}

void PagingScrollView::scrollViewDidEndDragging(ui::ScrollView&, bool) {
    fadePageControl(kFadeSeconds);
}

void PagingScrollView::scrollViewDidEndScrollingAnimation(ui::ScrollView&) {
    fadePageControl(kFadeSeconds);
}

} // namespace pennant
