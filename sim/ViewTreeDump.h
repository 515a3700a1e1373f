#pragma once

#include "platform/foundation/Value.h"

namespace ui {
class View;
}

namespace sim {

// A view and its subviews as trace data: class, interface name, frame in window coordinates,
// visibility, alpha, and the text or selection of controls that show one.
class ViewTreeDump {
public:
    static foundation::Value dump(const ui::View& view);
};

} // namespace sim
