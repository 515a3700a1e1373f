#pragma once

#include <string>
#include <string_view>

namespace foundation {

// A point in time: seconds since 1970-01-01 UTC. "Now" is the main run loop's clock, so under a
// virtual clock every date in the process agrees with the loop.
class Date {
public:
    // Seconds between 1970-01-01 and the platform's reference date 2001-01-01 (UTC).
    static constexpr double kReferenceDateOffset = 978307200.0;

    constexpr Date() = default;
    constexpr explicit Date(double secondsSince1970) : seconds_(secondsSince1970) {}
    static Date now();
    static Date fromAbsoluteTime(double absolute) { return Date(absolute + kReferenceDateOffset); }

    double timeIntervalSince1970() const { return seconds_; }
    // Seconds since 2001-01-01, the platform's absolute time.
    double absoluteTime() const { return seconds_ - kReferenceDateOffset; }
    // Negative for dates in the past.
    double timeIntervalSinceNow() const;
    Date addingSeconds(double seconds) const { return Date(seconds_ + seconds); }

    // Formats in the device's time zone (the process's TZ). Pattern letters: yyyy, yy, MM, dd,
    // HH, mm, ss, SSS; text in single quotes and any other character are copied.
    std::string format(std::string_view pattern) const;

    auto operator<=>(const Date&) const = default;

private:
    double seconds_ = 0;
};

// The platform's CFAbsoluteTimeGetCurrent.
inline double absoluteTimeNow() { return Date::now().absoluteTime(); }

} // namespace foundation
