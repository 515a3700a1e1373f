#pragma once

#include <cstddef>
#include <string>

namespace testing_support {

// Distinct texts of a chosen byte length, so tests can land either side of an inline capacity.
class SizedText {
public:
    // The number n, padded with dots (or cut) to exactly length bytes.
    static std::string numbered(std::size_t length, unsigned n) {
        std::string out = std::to_string(n);
        out.resize(length, '.');
        return out;
    }
};

} // namespace testing_support
