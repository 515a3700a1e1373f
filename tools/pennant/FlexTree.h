#pragma once

#include "platform/foundation/Dictionary.h"

namespace animation {
class Animation;
}

namespace ui {
class View;
}

namespace tool {

// A flex ad's view tree as JSON values, the way the client built it: every view with its
// class, frame and subviews; flex elements add their interaction tag and animation.
class FlexTree {
public:
    static foundation::Dictionary describe(const ui::View& view);
    // Kind, key path, one pass's duration and repeat count; a group adds its members.
    static foundation::Dictionary describeAnimation(const animation::Animation& animation);
};

} // namespace tool
