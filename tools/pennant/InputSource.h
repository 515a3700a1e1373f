#pragma once

#include "platform/foundation/Result.h"

#include <iosfwd>
#include <string>
#include <string_view>

namespace tool {

// Reads a command's whole input: a named file, or standard input for "-" or no name.
class InputSource {
  public:
    static constexpr std::string_view kStandardInput = "-";

    // On failure the error's message says which file and why.
    static foundation::Result<std::string> read(std::string_view path, std::istream& standardInput);
};

} // namespace tool
