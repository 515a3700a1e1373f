#pragma once

#include <string>

namespace pennant {

// Told about each visit record once its POST has ended, whether it reached the server or not.
class AnalyticsDataDelegate {
public:
    virtual ~AnalyticsDataDelegate() = default;
    virtual void analyticsProcesssedVisit(const std::string& visitName) = 0;
};

} // namespace pennant
