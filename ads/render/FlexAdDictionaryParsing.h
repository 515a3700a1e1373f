#pragma once

#include "platform/animation/Animation.h"
#include "platform/graphics/Color.h"
#include "platform/graphics/Geometry.h"
#include "platform/graphics/Transform3D.h"

#include <optional>

namespace foundation {
class Value;
}

namespace pennant {

// The value readers of the flex ad format. Server data is read leniently: an absent value
// (null) or one of the wrong form gives the default. Scalars accept numbers and strings (their
// leading decimal number); structures accept arrays of those, all or nothing.
class FlexAdDictionaryParsing {
public:
    static float floatWithValue(const foundation::Value& value, float defaultValue);
    static long long integerWithValue(const foundation::Value& value, long long defaultValue);
    static bool boolWithValue(const foundation::Value& value, bool defaultValue);

    static graphics::Rect rectWithValue(const foundation::Value& value,
                                        graphics::Rect defaultValue);
    static graphics::Point pointWithValue(const foundation::Value& value,
                                          graphics::Point defaultValue);
    static graphics::Size sizeWithValue(const foundation::Value& value,
                                        graphics::Size defaultValue);
    // Red, green, blue and alpha as sent, not clamped; a default of none gives none.
    static std::optional<graphics::Color>
    colorWithValue(const foundation::Value& value, std::optional<graphics::Color> defaultValue);
    // A 3 by 3 matrix in row order of which a, b, c, d, tx and ty are read.
    static graphics::AffineTransform
    affineTransformWithValue(const foundation::Value& value,
                             graphics::AffineTransform defaultValue);
    // Sixteen entries, m11 to m44 in row order.
    static graphics::Transform3D transform3DWithValue(const foundation::Value& value,
                                                      const graphics::Transform3D& defaultValue);

    // Codes "l", "i", "o" and "io"; anything else gives the named default.
    static animation::MediaTimingFunction
    timingFunctionWithValue(const foundation::Value& value,
                            animation::MediaTimingFunction::Name defaultName);
    // Codes "r", "f", "b" and "fb"; anything else gives the default.
    static animation::FillMode fillModeWithValue(const foundation::Value& value,
                                                 animation::FillMode defaultValue);
};

} // namespace pennant
