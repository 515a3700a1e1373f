#pragma once

#include "platform/foundation/Date.h"
#include "platform/location/Coordinate.h"

namespace location {

// One fix from the location service: where, how precisely (radius in metres) and when it was
// measured. Immutable once made.
class Location {
public:
    Location(Coordinate coordinate, double horizontalAccuracy, foundation::Date timestamp)
        : coordinate_(coordinate), horizontalAccuracy_(horizontalAccuracy), timestamp_(timestamp) {}

    Coordinate coordinate() const { return coordinate_; }
    double horizontalAccuracy() const { return horizontalAccuracy_; }
    foundation::Date timestamp() const { return timestamp_; }

    bool operator==(const Location&) const = default;

private:
    Coordinate coordinate_;
    double horizontalAccuracy_;
    foundation::Date timestamp_;
};

} // namespace location
