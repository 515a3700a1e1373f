#pragma once

#include <iosfwd>

namespace tool {

// The streams a command talks through; tests pass string streams.
struct Console {
    std::istream& in;
    std::ostream& out;
    std::ostream& err;
};

} // namespace tool
