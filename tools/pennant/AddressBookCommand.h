#pragma once

#include "tools/pennant/Command.h"

namespace tool {

// `pennant addressbook list --home DIR`: the address book of a sandbox home as JSON, one array
// of people with their fields, the picture given as its pixel size.
class AddressBookCommand : public Command {
public:
    std::string_view name() const override { return "addressbook"; }
    std::string_view summary() const override { return "print a sandbox's address book"; }
    int run(std::span<const std::string> arguments, Console& console) const override;

private:
    static int list(const std::string& home, Console& console);
};

} // namespace tool
