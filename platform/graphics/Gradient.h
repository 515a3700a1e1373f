#pragma once

#include "platform/graphics/Color.h"

#include <vector>

namespace graphics {

// Colour stops for a linear gradient. Locations pair with colours index by index; when the
// counts differ (no locations, say) the colours are spread evenly from 0 to 1.
struct Gradient {
    std::vector<Color> colors;
    std::vector<float> locations;

    bool operator==(const Gradient&) const = default;
};

// Whether a gradient paints beyond its start or end point with the first or last colour.
struct GradientOptions {
    bool drawsBeforeStart = false;
    bool drawsAfterEnd = false;

    bool operator==(const GradientOptions&) const = default;
};

} // namespace graphics
