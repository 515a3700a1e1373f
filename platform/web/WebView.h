#pragma once

#include "platform/ui/View.h"
#include "platform/web/Forward.h"
#include "platform/web/LoadEvent.h"
#include "platform/web/WebRequest.h"

#include <memory>
#include <optional>
#include <string>

namespace graphics {
class Image;
}

namespace web {

class WebPage;

// A page shown in the view's bounds. The page lives in WebKit's web process and runs on real
// time; the view draws the last snapshot of it, taken when a load finishes or on request.
// Taps reach the page as real clicks; a drag scrolls it.
class WebView : public ui::View {
    UI_CREATABLE(WebView)
    ~WebView() override;

    std::string className() const override { return "WebView"; }

    std::weak_ptr<WebViewDelegate> delegate() const { return delegate_; }
    void setDelegate(std::weak_ptr<WebViewDelegate> delegate) { delegate_ = std::move(delegate); }

    void loadRequest(const WebRequest& request);
    void reload();
    void stopLoading();
    bool isLoading() const;
    bool canGoBack() const;
    bool canGoForward() const;
    void goBack();
    void goForward();
    // The request of the page shown or loading; nullopt before the first load.
    const std::optional<WebRequest>& request() const { return request_; }

    // Runs the script in the page and waits for it: its completion value as a string, "" for
    // undefined, null, an exception or no answer within the bound.
    std::string stringByEvaluatingJavaScriptFromString(const std::string& script);

    bool scalesPageToFit() const { return scalesPageToFit_; }
    void setScalesPageToFit(bool scales);

    // Captures the visible page now for drawRect; false when there is no page to capture.
    bool takeSnapshot();
    const std::shared_ptr<graphics::Image>& snapshot() const { return snapshot_; }
    void drawRect(graphics::Context& context, const graphics::Rect& rect) override;
    void layoutSubviews() override;

    void touchesBegan(const ui::TouchSet& touches, const ui::Event& event) override;
    void touchesMoved(const ui::TouchSet& touches, const ui::Event& event) override;
    void touchesEnded(const ui::TouchSet& touches, const ui::Event& event) override;

    // How long a script or a snapshot may take before the view stops waiting.
    static constexpr foundation::Seconds kSynchronousBound{5};

protected:
    explicit WebView(const graphics::Rect& frame = {});

private:
    WebPage* page();
    void shouldStart(const WebRequest& request, NavigationType type,
                     const std::function<void(bool)>& decide);
    void didStart(const std::string& url);
    void didFinish(const std::string& url);
    void didFail(const foundation::Error& error, const std::string& url);
    void notify(LoadEvent event);
    void fitPageToWidth();
    void applyBackground();

    std::unique_ptr<WebPage> page_;
    std::weak_ptr<WebViewDelegate> delegate_;
    std::optional<WebRequest> request_;
    std::shared_ptr<graphics::Image> snapshot_;
    bool scalesPageToFit_ = false;
    // Where the current touch began and whether it has turned into a scroll.
    graphics::Point touchStart_;
    graphics::Point touchLast_;
    bool dragging_ = false;
};

} // namespace web
