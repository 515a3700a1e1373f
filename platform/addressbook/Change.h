#pragma once

#include "platform/addressbook/Person.h"

namespace addressbook {

// One record written to or removed from the database by a save.
struct Change {
    enum class Event { Added, Removed };

    Event event;
    Person person;
};

} // namespace addressbook
