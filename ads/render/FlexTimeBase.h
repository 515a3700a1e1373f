#pragma once

namespace pennant {

// The clock of one flex ad's interaction records: seconds since its container was first
// drawn (0 before that). The container lends it to the element views it holds.
class FlexTimeBase {
public:
    virtual ~FlexTimeBase() = default;

    virtual double timeIntervalSinceFirstRender() const = 0;
};

} // namespace pennant
