#pragma once

#include "tools/pennant/Command.h"

namespace tool {

// `pennant query-parse TEXT`: the dictionary the ad client reads from a query string, as JSON.
class QueryParseCommand : public Command {
public:
    std::string_view name() const override { return "query-parse"; }
    std::string_view summary() const override {
        return "parse a query string as the ad client does";
    }
    int run(std::span<const std::string> arguments, Console& console) const override;
};

} // namespace tool
