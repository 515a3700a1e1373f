#include "platform/web/WebContext.h"

#include "platform/foundation/Singleton.h"

namespace web {

WebContext& WebContext::shared() { return foundation::Singleton<WebContext>::shared(); }

} // namespace web
