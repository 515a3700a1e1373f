#pragma once

#include "platform/foundation/Data.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace addressbook {

// One entry of a multi-value property: the label is free text (a standard label or any other).
template <typename T>
struct Labeled {
    std::string label;
    T value;

    bool operator==(const Labeled&) const = default;
};

// A postal address: component key ("Street", "City", "State", "ZIP", "Country", or whatever
// the writer chose) to its text.
using Address = std::map<std::string, std::string>;

// One record of the address book, a person or an organisation.
struct Person {
    enum class Kind : int { Person = 0, Organization = 1 };

    // Given by the address book when the record is saved; 0 before.
    std::int64_t id = 0;
    Kind kind = Kind::Person;
    std::string firstName;
    std::string lastName;
    std::string organization;
    std::vector<Labeled<std::string>> phones;
    std::vector<Labeled<std::string>> emails;
    std::vector<Labeled<Address>> addresses;
    std::vector<Labeled<std::string>> urls;
    std::optional<std::string> note;
    std::optional<foundation::Data> imageData;

    bool operator==(const Person&) const = default;
};

} // namespace addressbook
