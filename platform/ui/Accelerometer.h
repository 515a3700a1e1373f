#pragma once

#include "platform/foundation/Forward.h"

#include <memory>

namespace ui {

class Accelerometer;

// One sample in g on each axis.
struct Acceleration {
    double x = 0;
    double y = 0;
    double z = 0;
    double timestamp = 0;
};

class AccelerometerDelegate {
public:
    virtual ~AccelerometerDelegate() = default;
    virtual void accelerometerDidAccelerate(Accelerometer& accelerometer,
                                            const Acceleration& acceleration) = 0;
};

// The shared accelerometer. Samples come from the simulator and go to the delegate, which
// is not owned.
class Accelerometer {
public:
    static Accelerometer& shared();

    std::shared_ptr<AccelerometerDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(std::weak_ptr<AccelerometerDelegate> delegate) {
        delegate_ = std::move(delegate);
    }
    double updateInterval() const { return updateInterval_; }
    void setUpdateInterval(double seconds) { updateInterval_ = seconds; }

    void deliver(const Acceleration& acceleration);

private:
    friend class foundation::Singleton<Accelerometer>;
    Accelerometer() = default;

    std::weak_ptr<AccelerometerDelegate> delegate_;
    double updateInterval_ = 0.1;
};

} // namespace ui
