#pragma once

#include "platform/foundation/Dictionary.h"
#include "platform/foundation/Subscribers.h"

namespace ui {
class ModalView;
}

namespace sim {

class Trace;

// Records alerts and action sheets as they come and go: an "alert" (or "action-sheet") event
// with "event" "shown", the title, message and button titles, then one with "event"
// "dismissed" and the index of the button that closed it.
class AlertTrace {
public:
    explicit AlertTrace(Trace& trace);

    static foundation::Dictionary shownFields(const ui::ModalView& view);

private:
    foundation::Subscription shown_;
    foundation::Subscription dismissed_;
};

} // namespace sim
