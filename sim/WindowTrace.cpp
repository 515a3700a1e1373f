#include "sim/WindowTrace.h"

#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"

namespace sim {

foundation::Dictionary WindowTrace::fields(const ui::Window& window) {
    foundation::Dictionary fields{{"event", window.isHidden() ? "hidden" : "shown"},
                                  {"level", foundation::Value::number(window.windowLevel())}};
    for (const auto& root : window.subviews()) {
        if (auto controller = root->viewController()) {
            fields.set("controller", controller->className());
            break;
        }
    }
    return fields;
}

} // namespace sim
