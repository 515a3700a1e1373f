#include "platform/animation/Animation.h"

#include <cmath>
#include <limits>

namespace animation {

namespace {
constexpr double kDefaultDuration = 0.25;
constexpr double kForever = std::numeric_limits<double>::infinity();
} // namespace

double Animation::passDuration() const { return duration_ > 0 ? duration_ : kDefaultDuration; }

double Animation::activeDuration() const {
    if (speed_ == 0)
        return kForever;
    const double passes = repeatCount_ > 0 ? repeatCount_ : 1;
    return passDuration() * passes * (autoreverses_ ? 2 : 1) / std::fabs(speed_);
}

bool Animation::fillsBackwards() const {
    return fillMode_ == FillMode::Backwards || fillMode_ == FillMode::Both;
}

bool Animation::fillsForwards() const {
    return fillMode_ == FillMode::Forwards || fillMode_ == FillMode::Both;
}

std::optional<double> Animation::passTimeAt(double sinceBegin) const {
    const double active = activeDuration();
    double t = sinceBegin;
    if (t < 0) {
        if (!fillsBackwards())
            return std::nullopt;
        t = 0;
    } else if (t >= active) {
        if (!fillsForwards())
            return std::nullopt;
        t = active;
    }
    const double pass = passDuration();
    const double cycle = autoreverses_ ? 2 * pass : pass;
    const double local = t * std::fabs(speed_) + timeOffset_;
    double position = std::fmod(local, cycle);
    if (position < 0)
        position += cycle;
    // At the very end the last pass is complete; it is not the start of another one.
    if (t == active && position == 0 && local > 0)
        position = cycle;
    if (position > pass)
        position = cycle - position;
    const double fraction = position / pass;
    return pass * (timingFunction_ ? timingFunction_->evaluate(fraction) : fraction);
}

void Animation::applyAt(LayerValues& values, double sinceBegin) const {
    if (auto passTime = passTimeAt(sinceBegin))
        apply(values, *passTime);
}

} // namespace animation
