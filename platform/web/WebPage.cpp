#include "platform/web/WebPage.h"

#include "platform/foundation/Assertions.h"
#include "platform/graphics/Image.h"
#include "platform/net/HostMap.h"
#include "platform/web/GLibPump.h"
#include "platform/web/LoadError.h"
#include "platform/web/WebContext.h"
#include "platform/web/WebEngine.h"

#include <gtk/gtk.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstring>

namespace web {

namespace {

// Round trips after which what a script or a click started has reached us (see settle).
constexpr int kScriptRoundTrips = 2;
constexpr int kClickRoundTrips = 5;
// The longest an allowed navigation may take to show its first resource before the virtual
// clock stops waiting for it (a same-page link, for one, never loads anything).
constexpr foundation::Seconds kStartBound{2};
// The longest the page's resources may go without news before the virtual clock goes on.
constexpr foundation::Seconds kFetchBound{10};

template <typename T>
struct GObjectDeleter {
    void operator()(T* object) const { g_object_unref(object); }
};
using Decision = std::shared_ptr<WebKitPolicyDecision>;

Decision holdDecision(WebKitPolicyDecision* decision) {
    return Decision(WEBKIT_POLICY_DECISION(g_object_ref(decision)),
                    GObjectDeleter<WebKitPolicyDecision>());
}

std::shared_ptr<graphics::Image> imageFromSurface(cairo_surface_t* surface) {
    cairo_surface_flush(surface);
    const int width = cairo_image_surface_get_width(surface);
    const int height = cairo_image_surface_get_height(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    if (!data || cairo_image_surface_get_format(surface) != CAIRO_FORMAT_ARGB32)
        return nullptr;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
    for (int row = 0; row < height; ++row)
        std::memcpy(pixels.data() + static_cast<std::size_t>(row) * width, data + row * stride,
                    static_cast<std::size_t>(width) * 4);
    return graphics::Image::fromPixels(width, height, std::move(pixels));
}

std::string scriptResultText(JSCValue* value) {
    if (jsc_value_is_undefined(value) || jsc_value_is_null(value))
        return "";
    char* text = jsc_value_to_string(value);
    std::string result = text ? text : "";
    g_free(text);
    return result;
}

// The host map sends the client's hosts to the ad server, which also serves as the pages' proxy,
// so that pages reach those hosts and nothing else. Nothing mapped: loads go straight out.
std::optional<std::string> proxyForMappedHosts() {
    const auto entries = net::HostMap::shared().connectToEntries();
    if (entries.empty())
        return std::nullopt;
    const auto separator = entries.front().find("::");
    return "http://" + entries.front().substr(separator + 2);
}

} // namespace

std::unique_ptr<WebPage> WebPage::create(graphics::Size size, Events events) {
    WebEngine* engine = WebEngine::shared();
    if (!engine)
        return nullptr;
    WebKitWebView* view = engine->createView(WebContext::shared().userAgent());
    return std::unique_ptr<WebPage>(new WebPage(view, size, std::move(events)));
}

WebPage::WebPage(WebKitWebView* view, graphics::Size size, Events events)
    : view_(view), window_(gtk_offscreen_window_new()), events_(std::move(events)) {
    gtk_container_add(GTK_CONTAINER(window_), GTK_WIDGET(view_));
    resize(size);
    gtk_widget_show_all(window_);
    g_signal_connect(view_, "decide-policy", G_CALLBACK(decidePolicy), this);
    g_signal_connect(view_, "load-changed", G_CALLBACK(loadChanged), this);
    g_signal_connect(view_, "load-failed", G_CALLBACK(loadFailed), this);
    g_signal_connect(view_, "resource-load-started", G_CALLBACK(resourceLoadStarted), this);
    GLibPump::shared().pump();
}

WebPage::~WebPage() {
    g_signal_handlers_disconnect_by_data(view_, this);
    if (timeout_)
        g_source_remove(timeout_);
    if (startBound_)
        g_source_remove(startBound_);
    if (fetchBound_)
        g_source_remove(fetchBound_);
    for (WebKitWebResource* resource : fetching_) {
        g_signal_handlers_disconnect_by_data(resource, this);
        g_object_weak_unref(G_OBJECT(resource), resourceGone, this);
    }
    webkit_web_view_stop_loading(view_);
    gtk_widget_destroy(window_);
    GLibPump::shared().pump();
}

void WebPage::post(std::function<void()> work) {
    foundation::RunLoop::main().post(alive_, std::move(work));
}

void WebPage::beginLoad(foundation::Seconds timeout) {
    if (!loading_)
        loading_ = std::make_unique<foundation::RunLoop::WorkToken>(foundation::RunLoop::main());
    if (timeout_)
        g_source_remove(timeout_);
    timedOut_ = false;
    const auto milliseconds = std::chrono::duration_cast<std::chrono::milliseconds>(timeout);
    timeout_ = g_timeout_add(static_cast<guint>(milliseconds.count()), timeoutExpired, this);
}

// The loop runs posted events before it looks at its clock, so the load's last event, already
// posted, is delivered before time may move on.
void WebPage::endLoad() {
    if (timeout_)
        g_source_remove(timeout_);
    timeout_ = 0;
    started_ = false;
    loading_.reset();
}

// Whatever a click or a script set off (a navigation, a scheduled location change) reaches us
// within a few round trips to the web process, which takes mouse events one at a time; until
// then the virtual clock waits.
void WebPage::settle(int roundTrips) {
    struct Settling {
        WebKitWebView* view;
        int roundTrips;
        foundation::RunLoop::WorkToken token{foundation::RunLoop::main()};
        static void next(Settling* settling) {
            webkit_web_view_evaluate_javascript(
                settling->view, "0", 1, nullptr, nullptr, nullptr,
                [](GObject* view, GAsyncResult* result, gpointer data) {
                    auto* settling = static_cast<Settling*>(data);
                    if (JSCValue* value = webkit_web_view_evaluate_javascript_finish(
                            WEBKIT_WEB_VIEW(view), result, nullptr))
                        g_object_unref(value);
                    if (--settling->roundTrips > 0)
                        next(settling);
                    else
                        delete settling;
                },
                settling);
        }
    };
    Settling::next(new Settling{view_, roundTrips});
}

void WebPage::awaitStart() {
    if (!awaitingStart_)
        awaitingStart_ =
            std::make_unique<foundation::RunLoop::WorkToken>(foundation::RunLoop::main());
    if (startBound_)
        g_source_remove(startBound_);
    const auto bound = std::chrono::duration_cast<std::chrono::milliseconds>(kStartBound);
    startBound_ = g_timeout_add(static_cast<guint>(bound.count()), startBoundExpired, this);
}

void WebPage::started() {
    if (startBound_)
        g_source_remove(startBound_);
    startBound_ = 0;
    awaitingStart_.reset();
}

void WebPage::resourceLoadStarted(WebKitWebView*, WebKitWebResource* resource, WebKitURIRequest*,
                                  gpointer data) {
    auto* page = static_cast<WebPage*>(data);
    page->started();
    if (!page->fetching_.insert(resource).second)
        return;
    // Watched, not held: WebKit decides how long its resources live.
    g_object_weak_ref(G_OBJECT(resource), resourceGone, page);
    g_signal_connect(resource, "finished", G_CALLBACK(resourceEnded), page);
    g_signal_connect(resource, "failed", G_CALLBACK(resourceFailed), page);
    if (!page->fetchingToken_)
        page->fetchingToken_ =
            std::make_unique<foundation::RunLoop::WorkToken>(foundation::RunLoop::main());
    page->restartFetchBound();
}

// A resource that never says it ended must not stop the virtual clock for good: after a while
// without news of any resource, the clock goes on.
void WebPage::restartFetchBound() {
    if (fetchBound_)
        g_source_remove(fetchBound_);
    const auto bound = std::chrono::duration_cast<std::chrono::milliseconds>(kFetchBound);
    fetchBound_ = g_timeout_add(
        static_cast<guint>(bound.count()),
        [](gpointer data) -> gboolean {
            auto* page = static_cast<WebPage*>(data);
            page->fetchBound_ = 0;
            page->fetchingToken_.reset();
            return G_SOURCE_REMOVE;
        },
        this);
}

void WebPage::resourceFailed(WebKitWebResource* resource, GError*, gpointer data) {
    resourceEnded(resource, data);
}

void WebPage::resourceEnded(WebKitWebResource* resource, gpointer data) {
    static_cast<WebPage*>(data)->forget(resource);
}

void WebPage::resourceGone(gpointer data, GObject* resource) {
    // Freed without a word: it is no longer being fetched, and there is nothing to disconnect.
    auto* page = static_cast<WebPage*>(data);
    page->fetching_.erase(reinterpret_cast<WebKitWebResource*>(resource));
    page->forget(nullptr);
}

void WebPage::forget(WebKitWebResource* resource) {
    if (resource && fetching_.erase(resource) != 0) {
        g_signal_handlers_disconnect_by_data(resource, this);
        g_object_weak_unref(G_OBJECT(resource), resourceGone, this);
    }
    if (!fetchingToken_)
        return;
    if (!fetching_.empty())
        return restartFetchBound();
    if (fetchBound_)
        g_source_remove(fetchBound_);
    fetchBound_ = 0;
    // The settle lets what arrived (a frame's scripts, an image) reach the screen first.
    post([this] { events_.resourcesSettled(); });
    settle(kScriptRoundTrips);
    fetchingToken_.reset();
}

gboolean WebPage::startBoundExpired(gpointer data) {
    auto* page = static_cast<WebPage*>(data);
    page->startBound_ = 0;
    page->awaitingStart_.reset();
    return G_SOURCE_REMOVE;
}

gboolean WebPage::timeoutExpired(gpointer data) {
    auto* page = static_cast<WebPage*>(data);
    page->timeout_ = 0;
    page->timedOut_ = true;
    webkit_web_view_stop_loading(page->view_);
    return G_SOURCE_REMOVE;
}

void WebPage::load(const WebRequest& request) {
    WebEngine::shared()->useProxy(proxyForMappedHosts());
    beginLoad(request.timeout);
    webkit_web_view_load_uri(view_, request.url.c_str());
    GLibPump::shared().pump();
}

void WebPage::reload() {
    if (url().empty())
        return;
    beginLoad(foundation::Seconds(60));
    webkit_web_view_reload(view_);
    GLibPump::shared().pump();
}

void WebPage::stop() {
    webkit_web_view_stop_loading(view_);
    // Stopped before it started, a load ends without a word from WebKit.
    if (!started_)
        endLoad();
    GLibPump::shared().pump();
}

bool WebPage::isLoading() const { return webkit_web_view_is_loading(view_); }
bool WebPage::canGoBack() const { return webkit_web_view_can_go_back(view_); }
bool WebPage::canGoForward() const { return webkit_web_view_can_go_forward(view_); }

void WebPage::goBack() {
    if (!canGoBack())
        return;
    beginLoad(foundation::Seconds(60));
    webkit_web_view_go_back(view_);
    GLibPump::shared().pump();
}

void WebPage::goForward() {
    if (!canGoForward())
        return;
    beginLoad(foundation::Seconds(60));
    webkit_web_view_go_forward(view_);
    GLibPump::shared().pump();
}

std::string WebPage::url() const {
    const char* uri = webkit_web_view_get_uri(view_);
    return uri ? uri : "";
}

gboolean WebPage::decidePolicy(WebKitWebView*, WebKitPolicyDecision* decision,
                               WebKitPolicyDecisionType type, gpointer data) {
    if (type != WEBKIT_POLICY_DECISION_TYPE_NAVIGATION_ACTION)
        return FALSE;
    auto* page = static_cast<WebPage*>(data);
    WebKitNavigationAction* action = webkit_navigation_policy_decision_get_navigation_action(
        WEBKIT_NAVIGATION_POLICY_DECISION(decision));
    WebRequest request;
    request.url = webkit_uri_request_get_uri(webkit_navigation_action_get_request(action));
    const auto navigation =
        static_cast<NavigationType>(webkit_navigation_action_get_navigation_type(action));
    // The virtual clock waits while the owner makes up its mind.
    auto deciding = std::make_shared<foundation::RunLoop::WorkToken>(foundation::RunLoop::main());
    page->post([page, request, navigation, held = holdDecision(decision), deciding] {
        page->events_.shouldStart(
            request, navigation,
            [page, alive = std::weak_ptr<int>(page->alive_), held, deciding](bool go) {
                if (go)
                    webkit_policy_decision_use(held.get());
                else
                    webkit_policy_decision_ignore(held.get());
                if (go && alive.lock())
                    page->awaitStart();
                // A refused load of ours never starts, so WebKit never says it ended.
                if (!go && alive.lock() && !page->started_)
                    page->endLoad();
                GLibPump::shared().pump();
            });
    });
    return TRUE;
}

void WebPage::loadChanged(WebKitWebView*, WebKitLoadEvent event, gpointer data) {
    auto* page = static_cast<WebPage*>(data);
    if (event == WEBKIT_LOAD_STARTED) {
        page->started();
        if (!page->loading_)
            page->beginLoad(foundation::Seconds(60));
        page->started_ = true;
        page->post([page, url = page->url()] { page->events_.started(url); });
    } else if (event == WEBKIT_LOAD_FINISHED) {
        // The document itself does not always report its end as a resource.
        page->forget(webkit_web_view_get_main_resource(page->view_));
        if (page->loading_)
            page->post([page, url = page->url()] { page->events_.finished(url); });
        page->endLoad();
    }
}

// WebKit reports LOAD_FINISHED after a failure too; the failure is the load's last word.
gboolean WebPage::loadFailed(WebKitWebView*, WebKitLoadEvent, gchar* uri, GError* error,
                             gpointer data) {
    auto* page = static_cast<WebPage*>(data);
    const foundation::Error mapped =
        page->timedOut_ ? LoadError::timedOut("The request timed out.") : LoadError::from(*error);
    page->post(
        [page, mapped, url = std::string(uri ? uri : "")] { page->events_.failed(mapped, url); });
    page->endLoad();
    return TRUE;
}

std::optional<std::string> WebPage::evaluate(const std::string& script, foundation::Seconds bound) {
    struct Answer {
        bool arrived = false;
        std::optional<std::string> text;
    };
    auto answer = std::make_shared<Answer>();
    // The answer may come after we gave up waiting; it then lands in the shared holder alone.
    auto* holder = new std::shared_ptr<Answer>(answer);
    webkit_web_view_evaluate_javascript(
        view_, script.c_str(), static_cast<gssize>(script.size()), nullptr, nullptr, nullptr,
        [](GObject* view, GAsyncResult* result, gpointer data) {
            std::unique_ptr<std::shared_ptr<Answer>> held(
                static_cast<std::shared_ptr<Answer>*>(data));
            GError* error = nullptr;
            JSCValue* value =
                webkit_web_view_evaluate_javascript_finish(WEBKIT_WEB_VIEW(view), result, &error);
            (*held)->arrived = true;
            if (value) {
                (*held)->text = scriptResultText(value);
                g_object_unref(value);
            }
            g_clear_error(&error);
        },
        holder);
    GLibPump::shared().pumpUntil([&] { return answer->arrived; }, bound);
    settle(kScriptRoundTrips);
    return answer->text;
}

std::shared_ptr<graphics::Image> WebPage::snapshot(foundation::Seconds bound) {
    struct Capture {
        bool arrived = false;
        std::shared_ptr<graphics::Image> image;
    };
    auto capture = std::make_shared<Capture>();
    auto* holder = new std::shared_ptr<Capture>(capture);
    webkit_web_view_get_snapshot(
        view_, WEBKIT_SNAPSHOT_REGION_VISIBLE, WEBKIT_SNAPSHOT_OPTIONS_NONE, nullptr,
        [](GObject* view, GAsyncResult* result, gpointer data) {
            std::unique_ptr<std::shared_ptr<Capture>> held(
                static_cast<std::shared_ptr<Capture>*>(data));
            GError* error = nullptr;
            cairo_surface_t* surface =
                webkit_web_view_get_snapshot_finish(WEBKIT_WEB_VIEW(view), result, &error);
            (*held)->arrived = true;
            if (surface) {
                (*held)->image = imageFromSurface(surface);
                cairo_surface_destroy(surface);
            }
            g_clear_error(&error);
        },
        holder);
    GLibPump::shared().pumpUntil([&] { return capture->arrived; }, bound);
    return capture->image;
}

void WebPage::resize(graphics::Size size) {
    const int width = std::max(1, static_cast<int>(size.width));
    const int height = std::max(1, static_cast<int>(size.height));
    gtk_widget_set_size_request(GTK_WIDGET(view_), width, height);
    gtk_window_resize(GTK_WINDOW(window_), width, height);
    GLibPump::shared().pump();
}

void WebPage::setBackground(bool opaque, float red, float green, float blue, float alpha) {
    const GdkRGBA colour{red, green, blue, opaque ? 1.0 : alpha};
    webkit_web_view_set_background_color(view_, &colour);
}

void WebPage::setZoom(double zoom) { webkit_web_view_set_zoom_level(view_, zoom); }

void WebPage::click(graphics::Point point) {
    sendMotion(point);
    sendButton(GDK_BUTTON_PRESS, point);
    sendButton(GDK_BUTTON_RELEASE, point);
    settle(kClickRoundTrips);
    GLibPump::shared().pump();
}

namespace {

GdkDevice* pointerDevice() {
    return gdk_seat_get_pointer(gdk_display_get_default_seat(gdk_display_get_default()));
}

} // namespace

void WebPage::sendMotion(graphics::Point point) {
    GdkEvent* event = gdk_event_new(GDK_MOTION_NOTIFY);
    event->motion.window = GDK_WINDOW(g_object_ref(gtk_widget_get_window(GTK_WIDGET(view_))));
    event->motion.time = GDK_CURRENT_TIME;
    event->motion.x = event->motion.x_root = point.x;
    event->motion.y = event->motion.y_root = point.y;
    gdk_event_set_device(event, pointerDevice());
    gtk_widget_event(GTK_WIDGET(view_), event);
    gdk_event_free(event);
}

void WebPage::sendButton(GdkEventType type, graphics::Point point) {
    GdkEvent* event = gdk_event_new(type);
    event->button.window = GDK_WINDOW(g_object_ref(gtk_widget_get_window(GTK_WIDGET(view_))));
    event->button.time = GDK_CURRENT_TIME;
    event->button.x = event->button.x_root = point.x;
    event->button.y = event->button.y_root = point.y;
    event->button.button = GDK_BUTTON_PRIMARY;
    if (type == GDK_BUTTON_RELEASE)
        event->button.state = GDK_BUTTON1_MASK;
    gdk_event_set_device(event, pointerDevice());
    gtk_widget_event(GTK_WIDGET(view_), event);
    gdk_event_free(event);
}

} // namespace web
