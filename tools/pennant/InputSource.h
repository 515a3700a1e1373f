#pragma once

#include "platform/foundation/Result.h"

#include <cstddef>
#include <iosfwd>
#include <string>
#include <string_view>

namespace tool {

// Reads a command's whole input: a named file, or standard input for "-" or no name.
class InputSource {
public:
    static constexpr std::string_view kStandardInput = "-";
    // Far beyond any ad response, and small enough that an endless input (/dev/zero, a stuck
    // pipe) ends in an error rather than in exhausted memory.
    static constexpr std::size_t kMaxInputBytes = 64 * 1024 * 1024;

    // On failure the error's message says which file and why; input longer than `limit` fails.
    static foundation::Result<std::string> read(std::string_view path, std::istream& standardInput,
                                                std::size_t limit = kMaxInputBytes);
};

} // namespace tool
