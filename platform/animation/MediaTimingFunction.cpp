#include "platform/animation/MediaTimingFunction.h"

#include <algorithm>
#include <cmath>

namespace animation {

MediaTimingFunction MediaTimingFunction::functionWithName(Name name) {
    switch (name) {
    case Name::Linear:
        return {0, 0, 1, 1};
    case Name::EaseIn:
        return {0.42f, 0, 1, 1};
    case Name::EaseOut:
        return {0, 0, 0.58f, 1};
    case Name::EaseInEaseOut:
        return {0.42f, 0, 0.58f, 1};
    case Name::Default:
        break;
    }
    return {0.25f, 0.1f, 0.25f, 1};
}

MediaTimingFunction::MediaTimingFunction(float c1x, float c1y, float c2x, float c2y)
    : c1x_(std::clamp(c1x, 0.0f, 1.0f)), c1y_(c1y), c2x_(std::clamp(c2x, 0.0f, 1.0f)), c2y_(c2y) {}

namespace {
// One coordinate of the curve at parameter s, its end points being 0 and 1.
double bezier(double s, double p1, double p2) {
    const double r = 1 - s;
    return 3 * r * r * s * p1 + 3 * r * s * s * p2 + s * s * s;
}

double bezierSlope(double s, double p1, double p2) {
    const double r = 1 - s;
    return 3 * r * r * p1 + 6 * r * s * (p2 - p1) + 3 * s * s * (1 - p2);
}
} // namespace

double MediaTimingFunction::evaluate(double x) const {
    x = std::clamp(x, 0.0, 1.0);
    // x(s) grows monotonically with control x values in [0, 1]: Newton steps, then bisection
    // where the slope is too flat to trust.
    double s = x;
    for (int i = 0; i < 8; ++i) {
        const double error = bezier(s, c1x_, c2x_) - x;
        if (std::fabs(error) < 1e-7)
            return bezier(s, c1y_, c2y_);
        const double slope = bezierSlope(s, c1x_, c2x_);
        if (std::fabs(slope) < 1e-6)
            break;
        s = std::clamp(s - error / slope, 0.0, 1.0);
    }
    double low = 0, high = 1;
    s = x;
    for (int i = 0; i < 60 && std::fabs(bezier(s, c1x_, c2x_) - x) > 1e-7; ++i) {
        (bezier(s, c1x_, c2x_) < x ? low : high) = s;
        s = (low + high) / 2;
    }
    return bezier(s, c1y_, c2y_);
}

} // namespace animation
