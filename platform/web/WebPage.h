#pragma once

#ifndef INSIDE_PLATFORM_WEB
#error "WebPage.h belongs to the WebKitGTK backend: include it only from platform/web"
#endif

#include "platform/foundation/Error.h"
#include "platform/foundation/RunLoop.h"
#include "platform/graphics/Geometry.h"
#include "platform/web/NavigationType.h"
#include "platform/web/WebRequest.h"

#include <webkit2/webkit2.h>

#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>

namespace graphics {
class Image;
}

namespace web {

// One WebKit view in an offscreen GTK window. WebKit's signals are turned into events posted
// to our main loop, so whoever handles them runs outside WebKit and may call back in. A load
// in flight, and any resource the page is fetching, holds a work token, so a virtual clock
// waits for them.
class WebPage {
public:
    struct Events {
        // decide(true) lets the navigation go ahead.
        std::function<void(const WebRequest&, NavigationType, std::function<void(bool)> decide)>
            shouldStart;
        std::function<void(const std::string& url)> started;
        // The URL the page ended at: a navigation the page started itself may have been
        // reported under the URL it left.
        std::function<void(const std::string& url)> finished;
        // The error and the URL that failed.
        std::function<void(const foundation::Error&, const std::string&)> failed;
        // Every resource the page was fetching has arrived (frames, images, scripts): what it
        // shows may have changed since its load finished.
        std::function<void()> resourcesSettled;
    };

    // nullptr when WebKit cannot run here (no display).
    static std::unique_ptr<WebPage> create(graphics::Size size, Events events);
    ~WebPage();
    WebPage(const WebPage&) = delete;
    WebPage& operator=(const WebPage&) = delete;

    void load(const WebRequest& request);
    void reload();
    void stop();
    bool isLoading() const;
    bool canGoBack() const;
    bool canGoForward() const;
    void goBack();
    void goForward();
    std::string url() const;

    // The script's completion value as a string; nullopt when it threw or ran out of time.
    std::optional<std::string> evaluate(const std::string& script, foundation::Seconds bound);
    // The visible region as it is now; nullptr when WebKit did not answer within the bound.
    std::shared_ptr<graphics::Image> snapshot(foundation::Seconds bound);

    void resize(graphics::Size size);
    void setBackground(bool opaque, float red, float green, float blue, float alpha);
    void setZoom(double zoom);
    // A real button press and release at the point (view coordinates).
    void click(graphics::Point point);

private:
    WebPage(WebKitWebView* view, graphics::Size size, Events events);

    void beginLoad(foundation::Seconds timeout);
    void endLoad();
    void settle(int roundTrips);
    // An allowed navigation has not started yet: the virtual clock waits for its first
    // resource, at most kStartBound of real time.
    void awaitStart();
    void started();
    void post(std::function<void()> work);
    void sendButton(GdkEventType type, graphics::Point point);
    void sendMotion(graphics::Point point);

    static gboolean decidePolicy(WebKitWebView*, WebKitPolicyDecision*, WebKitPolicyDecisionType,
                                 gpointer page);
    static void loadChanged(WebKitWebView*, WebKitLoadEvent, gpointer page);
    static gboolean loadFailed(WebKitWebView*, WebKitLoadEvent, gchar* uri, GError*, gpointer page);
    static gboolean timeoutExpired(gpointer page);
    static void resourceLoadStarted(WebKitWebView*, WebKitWebResource*, WebKitURIRequest*,
                                    gpointer page);
    static gboolean startBoundExpired(gpointer page);
    static void resourceEnded(WebKitWebResource* resource, gpointer page);
    static void resourceGone(gpointer page, GObject* resource);
    // Stops watching the resource (null: none) and settles once nothing is being fetched.
    void forget(WebKitWebResource* resource);
    void restartFetchBound();
    static void resourceFailed(WebKitWebResource* resource, GError*, gpointer page);

    WebKitWebView* view_;
    GtkWidget* window_;
    Events events_;
    std::unique_ptr<foundation::RunLoop::WorkToken> loading_;
    guint timeout_ = 0;
    std::unique_ptr<foundation::RunLoop::WorkToken> awaitingStart_;
    // Resources being fetched, each holding a reference until it ends.
    std::set<WebKitWebResource*> fetching_;
    std::unique_ptr<foundation::RunLoop::WorkToken> fetchingToken_;
    guint fetchBound_ = 0;
    guint startBound_ = 0;
    bool timedOut_ = false;
    bool started_ = false;
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);
};

} // namespace web
