#pragma once

#include "platform/graphics/Color.h"

#include <vector>

namespace graphics {

// Colour stops for a linear gradient. With no locations the colours are spread evenly from
// 0 to 1; otherwise locations pairs with colours index by index.
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
