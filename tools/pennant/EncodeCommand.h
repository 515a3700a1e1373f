#pragma once

#include "tools/pennant/Command.h"

namespace tool {

// `pennant encode TEXT`: the ad client's percent-encoding of TEXT.
class EncodeCommand : public Command {
public:
    std::string_view name() const override { return "encode"; }
    std::string_view summary() const override {
        return "percent-encode text as the ad client does";
    }
    int run(std::span<const std::string> arguments, Console& console) const override;
};

} // namespace tool
