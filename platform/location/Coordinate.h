#pragma once

namespace location {

// A position in degrees: latitude north positive, longitude east positive.
struct Coordinate {
    double latitude = 0;
    double longitude = 0;

    bool operator==(const Coordinate&) const = default;
};

} // namespace location
