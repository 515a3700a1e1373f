#pragma once

#include "platform/foundation/Dictionary.h"
#include "platform/foundation/Value.h"

namespace ui {
class Application;
class View;
} // namespace ui

namespace sim {

// The screen as trace data. Each view gives its class, interface name, frame in window
// coordinates, visibility, alpha, the text or selection it shows, tag, bounds and any
// transform; windows add their level and whether they are key.
class ViewTreeDump {
public:
    // The status bar's state and the application's windows from bottom to top.
    static foundation::Dictionary screen(const ui::Application& application);
    static foundation::Value dump(const ui::View& view);
};

} // namespace sim
