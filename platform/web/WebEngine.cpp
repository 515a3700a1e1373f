#include "platform/web/WebEngine.h"

#include "platform/foundation/Assertions.h"

#include <gtk/gtk.h>

#include <cstdlib>

namespace web {

WebEngine* WebEngine::shared() {
    foundation::assertIsMainThread();
    // Built once: GTK refuses a second initialisation, and the web process lives for the run.
    static WebEngine* engine = [] {
        // Without an accessibility bus every GTK start would warn that it cannot reach one.
        ::setenv("NO_AT_BRIDGE", "1", 0);
        return gtk_init_check(nullptr, nullptr) ? new WebEngine() : nullptr;
    }();
    return engine;
}

WebEngine::WebEngine() : context_(webkit_web_context_new_ephemeral()) {
    webkit_web_context_set_cache_model(context_, WEBKIT_CACHE_MODEL_DOCUMENT_VIEWER);
    root_ = WEBKIT_WEB_VIEW(g_object_new(WEBKIT_TYPE_WEB_VIEW, "web-context", context_, nullptr));
    g_object_ref_sink(root_);
}

WebKitWebView* WebEngine::createView(const std::string& userAgent) const {
    WebKitSettings* settings = webkit_settings_new();
    webkit_settings_set_enable_javascript(settings, TRUE);
    webkit_settings_set_javascript_can_open_windows_automatically(settings, FALSE);
    webkit_settings_set_hardware_acceleration_policy(settings,
                                                     WEBKIT_HARDWARE_ACCELERATION_POLICY_NEVER);
    webkit_settings_set_enable_smooth_scrolling(settings, FALSE);
    webkit_settings_set_user_agent(settings, userAgent.empty() ? nullptr : userAgent.c_str());
    auto* view = WEBKIT_WEB_VIEW(
        g_object_new(WEBKIT_TYPE_WEB_VIEW, "related-view", root_, "settings", settings, nullptr));
    g_object_unref(settings);
    return view;
}

void WebEngine::useProxy(const std::optional<std::string>& proxyURI) {
    if (proxyApplied_ && proxy_ == proxyURI)
        return;
    proxy_ = proxyURI;
    proxyApplied_ = true;
    WebKitWebsiteDataManager* manager = webkit_web_context_get_website_data_manager(context_);
    if (!proxyURI) {
        webkit_website_data_manager_set_network_proxy_settings(
            manager, WEBKIT_NETWORK_PROXY_MODE_NO_PROXY, nullptr);
        return;
    }
    WebKitNetworkProxySettings* settings =
        webkit_network_proxy_settings_new(proxyURI->c_str(), nullptr);
    webkit_website_data_manager_set_network_proxy_settings(
        manager, WEBKIT_NETWORK_PROXY_MODE_CUSTOM, settings);
    webkit_network_proxy_settings_free(settings);
}

} // namespace web
