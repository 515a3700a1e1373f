#pragma once

namespace web {

enum class NavigationType : int;
struct LoadEvent;
struct WebRequest;
class WebContext;
class WebView;
class WebViewDelegate;

} // namespace web
