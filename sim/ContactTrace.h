#pragma once

#include "platform/foundation/Dictionary.h"

namespace addressbook {
struct Change;
}

namespace sim {

// The fields of the trace's "contact" events: "added" or "removed", and the record's
// organisation, or first and last name for a person.
class ContactTrace {
public:
    static foundation::Dictionary fields(const addressbook::Change& change);
};

} // namespace sim
