#pragma once

#include "ads/actions/WebViewController.h"
#include "platform/foundation/URL.h"

#include <memory>
#include <optional>
#include <string>

namespace pennant {

// An ad's rich content in a 320 x 295 page centred over the application. It loads the ad
// network's canvas page, checks that the page is ours (it defines the script object
// "pennant"), hands it the content URL and the title through its function cb, and from then on
// the page drives the screen through its commands. A canvas page that does not load, or is not
// ours, closes the screen without a word.
class CanvasController : public WebViewController {
public:
    static std::shared_ptr<CanvasController> create(bool transparent = false);
    std::string className() const override { return "PennantCanvasController"; }

    static constexpr float kWidth = 320;
    static constexpr float kHeight = 295;
    // The canvas page waits this long for its content, in real time.
    static constexpr foundation::Seconds kTimeout{600};

    // Starts the canvas page and presents the screen from the banner, always with the
    // backdrop growing from it.
    void presentCanvasFromView(std::shared_ptr<ui::View> adView, const foundation::URL& url,
                               std::optional<std::string> title, std::weak_ptr<Delegate> delegate,
                               std::function<std::shared_ptr<Ad>()> displayedAd = {});
    void loadViewWithBounds(const graphics::Rect& bounds) override;
    bool webviewIsFromPennant();

    void didFinishLoad(web::WebView& view) override;
    void didFailLoad(web::WebView& view, const foundation::Error& error) override;

    // The ad's URL with "#sdk" appended, as the page receives it.
    const std::string& canvasUrl() const { return canvasUrl_; }
    // The script that hands the page its content: both arguments as script string literals,
    // so the page receives exactly the URL and the title.
    static std::string callbackScript(const std::string& url, const std::string& title);

private:
    explicit CanvasController(bool transparent) : WebViewController(transparent) {}

    std::string canvasUrl_;
    std::string canvasTitle_;
};

} // namespace pennant
