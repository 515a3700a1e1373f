#pragma once

namespace web {

enum class NavigationType : int;
struct WebRequest;
class WebContext;
class WebView;
class WebViewDelegate;

} // namespace web
