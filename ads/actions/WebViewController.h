#pragma once

#include "ads/actions/ModalViewController.h"
#include "platform/web/WebViewDelegate.h"

#include <memory>
#include <string>

namespace foundation {
class URL;
}
namespace ui {
class ActivityIndicatorView;
class AlertView;
} // namespace ui
namespace web {
class WebView;
}

namespace pennant {

// A web page over the whole screen: the landing page of a "screen" click, a web interstitial,
// and the base of the canvas and of the in-app browser. It decides for every navigation
// whether the page loads it or whether it becomes a click action, shows a spinner until the
// first page is in, records each finished page for the ad's analytics and turns load failures
// into one alert whose message follows the latest failure.
class WebViewController : public ModalViewController, public web::WebViewDelegate {
public:
    static std::shared_ptr<WebViewController> create(bool transparent = false);
    ~WebViewController() override;
    std::string className() const override { return "PennantWebViewController"; }

    void load(const foundation::URL& url);
    void loadViewWithBounds(const graphics::Rect& bounds) override;
    void willTakeControl() override;
    void mailWithSubject(const std::string& subject, const std::string& body);

    std::optional<bool> shouldStartLoad(web::WebView& view, const web::WebRequest& request,
                                        web::NavigationType type) override;
    void didFinishLoad(web::WebView& view) override;
    void didFailLoad(web::WebView& view, const foundation::Error& error) override;

    const std::shared_ptr<web::WebView>& webView() const { return webView_; }
    bool loaded() const { return loaded_; }
    const std::shared_ptr<ui::AlertView>& failAlert() const { return failAlert_; }

    // Largest script result a page's "open" command may hand over.
    static constexpr std::size_t kMaxOpenParametersBytes = 64 * 1024;

protected:
    explicit WebViewController(bool transparent);
    // Sets the page's delegate; needs the screen's own shared pointer.
    void attachPage();
    std::string pageTitle();

private:
    // The link policy's answer for one URL: true loads it in place.
    bool allowsInPlace(const foundation::URL& url);
    void runBridgeCommand(const foundation::URL& url);
    void openFromScript(const std::string& script);
    void showFailure(const std::string& messageKey);

    std::shared_ptr<web::WebView> webView_;
    bool loaded_ = false;
    graphics::Rect initialFrame_;
    std::shared_ptr<ui::ActivityIndicatorView> loadingSpinner_;
    std::shared_ptr<ui::AlertView> failAlert_;
    bool firstShow_ = true;
};

} // namespace pennant
