#pragma once

#include "platform/foundation/Dictionary.h"

namespace ui {
class Window;
}

namespace sim {

// The fields of the trace's "window" events: "shown" or "hidden", the window's level and the
// class of the controller whose view it holds, when one does.
class WindowTrace {
public:
    static foundation::Dictionary fields(const ui::Window& window);
};

} // namespace sim
