#include "platform/web/WebView.h"

#include "platform/foundation/Assertions.h"
#include "platform/foundation/Error.h"
#include "platform/graphics/Context.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Touch.h"
#include "platform/web/WebContext.h"
#include "platform/web/WebPage.h"
#include "platform/web/WebViewDelegate.h"

#include <cmath>

namespace web {

namespace {

// How far a touch may wander and still count as a tap rather than a drag.
constexpr float kTapSlop = 8;
// Page width the layout assumes when the page does not say (for pages scaled to fit).
constexpr auto kPageWidthScript = "Math.max(document.documentElement.scrollWidth, 1)";

} // namespace

WebView::WebView(const graphics::Rect& frame) : View(frame) {}

WebView::~WebView() = default;

WebPage* WebView::page() {
    foundation::assertIsMainThread();
    if (page_)
        return page_.get();
    std::weak_ptr<WebView> weak = std::static_pointer_cast<WebView>(shared_from_this());
    WebPage::Events events;
    events.shouldStart = [weak](const WebRequest& request, NavigationType type, auto decide) {
        if (auto self = weak.lock())
            self->shouldStart(request, type, decide);
    };
    events.started = [weak](const std::string& url) {
        if (auto self = weak.lock())
            self->didStart(url);
    };
    events.finished = [weak](const std::string& url) {
        if (auto self = weak.lock())
            self->didFinish(url);
    };
    events.failed = [weak](const foundation::Error& error, const std::string& url) {
        if (auto self = weak.lock())
            self->didFail(error, url);
    };
    events.resourcesSettled = [weak] {
        if (auto self = weak.lock(); self && !self->isLoading())
            self->takeSnapshot();
    };
    page_ = WebPage::create(bounds().size, std::move(events));
    if (page_)
        applyBackground();
    return page_.get();
}

void WebView::loadRequest(const WebRequest& request) {
    request_ = request;
    if (auto* web = page())
        web->load(request);
}

void WebView::reload() {
    if (auto* web = page())
        web->reload();
}

void WebView::stopLoading() {
    if (page_)
        page_->stop();
}

bool WebView::isLoading() const { return page_ && page_->isLoading(); }
bool WebView::canGoBack() const { return page_ && page_->canGoBack(); }
bool WebView::canGoForward() const { return page_ && page_->canGoForward(); }

void WebView::goBack() {
    if (page_)
        page_->goBack();
}

void WebView::goForward() {
    if (page_)
        page_->goForward();
}

std::string WebView::stringByEvaluatingJavaScriptFromString(const std::string& script) {
    auto* web = page();
    if (!web)
        return "";
    return web->evaluate(script, kSynchronousBound).value_or("");
}

void WebView::setScalesPageToFit(bool scales) {
    scalesPageToFit_ = scales;
    if (page_)
        fitPageToWidth();
}

// Pages wider than the view are shown whole, as the platform does when scaling pages to fit.
void WebView::fitPageToWidth() {
    if (!scalesPageToFit_) {
        page_->setZoom(1);
        return;
    }
    const auto width = page_->evaluate(kPageWidthScript, kSynchronousBound);
    const double pageWidth = width ? std::atof(width->c_str()) : 0;
    const double viewWidth = bounds().width();
    page_->setZoom(pageWidth > viewWidth ? viewWidth / pageWidth : 1);
}

void WebView::applyBackground() {
    const graphics::Color colour = backgroundColor().value_or(graphics::Color::whiteColor());
    page_->setBackground(isOpaque(), colour.red(), colour.green(), colour.blue(), colour.alpha());
}

bool WebView::takeSnapshot() {
    if (!page_)
        return false;
    applyBackground();
    auto image = page_->snapshot(kSynchronousBound);
    if (!image)
        return false;
    snapshot_ = std::move(image);
    setNeedsDisplay();
    return true;
}

void WebView::drawRect(graphics::Context& context, const graphics::Rect&) {
    if (snapshot_)
        context.drawImage(*snapshot_, graphics::Rect({0, 0}, snapshot_->size()));
}

void WebView::layoutSubviews() {
    if (page_)
        page_->resize(bounds().size);
}

void WebView::shouldStart(const WebRequest& request, NavigationType type,
                          const std::function<void(bool)>& decide) {
    auto protector = shared_from_this();
    auto delegate = delegate_.lock();
    decide(!delegate || delegate->shouldStartLoad(*this, request, type).value_or(true));
}

void WebView::notify(LoadEvent event) {
    if (event.url.empty())
        event.url = page_->url();
    WebContext::shared().notifyLoad(event);
}

void WebView::didStart(const std::string& url) {
    auto protector = shared_from_this();
    WebContext::shared().setLatestView(std::static_pointer_cast<WebView>(protector));
    // Navigations the page starts itself change what the view shows too.
    if (request_)
        request_->url = url;
    else
        request_ = WebRequest{url};
    notify({LoadEvent::Kind::Started, url, {}, {}});
    if (auto delegate = delegate_.lock())
        delegate->didStartLoad(*this);
}

void WebView::didFinish(const std::string& url) {
    auto protector = shared_from_this();
    if (request_ && !url.empty())
        request_->url = url;
    if (scalesPageToFit_)
        fitPageToWidth();
    takeSnapshot();
    notify({LoadEvent::Kind::Finished,
            {},
            stringByEvaluatingJavaScriptFromString("document.title"),
            {}});
    if (auto delegate = delegate_.lock())
        delegate->didFinishLoad(*this);
}

void WebView::didFail(const foundation::Error& error, const std::string& url) {
    auto protector = shared_from_this();
    notify({LoadEvent::Kind::Failed, url, {}, error});
    if (auto delegate = delegate_.lock())
        delegate->didFailLoad(*this, error);
}

void WebView::touchesBegan(const ui::TouchSet& touches, const ui::Event&) {
    touchStart_ = touchLast_ = touches.front()->locationInView(this);
    dragging_ = false;
}

void WebView::touchesMoved(const ui::TouchSet& touches, const ui::Event&) {
    const graphics::Point at = touches.front()->locationInView(this);
    dragging_ = dragging_ || std::hypot(at.x - touchStart_.x, at.y - touchStart_.y) > kTapSlop;
    if (!dragging_ || !page_)
        return;
    // The content follows the finger.
    page_->evaluate("window.scrollBy(" + std::to_string(touchLast_.x - at.x) + "," +
                        std::to_string(touchLast_.y - at.y) + ")",
                    kSynchronousBound);
    touchLast_ = at;
    takeSnapshot();
}

void WebView::touchesEnded(const ui::TouchSet& touches, const ui::Event&) {
    if (dragging_ || !page_)
        return;
    page_->click(touches.front()->locationInView(this));
}

} // namespace web
