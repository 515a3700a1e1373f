#include "sim/ContactTrace.h"

#include "platform/addressbook/Change.h"

namespace sim {

foundation::Dictionary ContactTrace::fields(const addressbook::Change& change) {
    const auto& person = change.person;
    foundation::Dictionary fields{
        {"event", change.event == addressbook::Change::Event::Added ? "added" : "removed"}};
    if (person.kind == addressbook::Person::Kind::Organization) {
        fields.set("organization", person.organization);
        return fields;
    }
    // Empty names stay out of the event rather than showing as "".
    if (!person.firstName.empty())
        fields.set("first", person.firstName);
    if (!person.lastName.empty())
        fields.set("last", person.lastName);
    return fields;
}

} // namespace sim
