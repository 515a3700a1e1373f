#pragma once

#include "platform/graphics/Geometry.h"

#include <gtest/gtest.h>

namespace testing_support {

// Comparisons of geometry that went through float arithmetic, such as transforms.
class GeometryExpectations {
public:
    static void expectPoint(graphics::Point actual, graphics::Point expected) {
        EXPECT_NEAR(actual.x, expected.x, 1e-3);
        EXPECT_NEAR(actual.y, expected.y, 1e-3);
    }
};

} // namespace testing_support
