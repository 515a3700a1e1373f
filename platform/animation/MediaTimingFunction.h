#pragma once

namespace animation {

// How an animation's progress follows its time: a cubic Bézier from (0, 0) to (1, 1) through
// two control points, as the platform describes its curves.
class MediaTimingFunction {
public:
    enum class Name { Linear, EaseIn, EaseOut, EaseInEaseOut, Default };

    static MediaTimingFunction functionWithName(Name name);
    MediaTimingFunction(float c1x, float c1y, float c2x, float c2y);

    // The progress (y) at the fraction of time x in [0, 1].
    double evaluate(double x) const;

    bool operator==(const MediaTimingFunction&) const = default;

private:
    float c1x_, c1y_, c2x_, c2y_;
};

} // namespace animation
