#pragma once

#include "tools/pennant/Command.h"

namespace tool {

// `pennant json parse [--any] [FILE|-]`: parses a document the way the ad client does and
// prints it back as compact JSON, or the parse error.
class JSONCommand : public Command {
public:
    std::string_view name() const override { return "json"; }
    std::string_view summary() const override { return "parse a JSON document and print it back"; }
    int run(std::span<const std::string> arguments, Console& console) const override;

private:
    int parse(std::span<const std::string> arguments, Console& console) const;
    static void printUsage(std::ostream& out);
};

} // namespace tool
