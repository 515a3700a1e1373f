#include "platform/ui/Accelerometer.h"

namespace ui {

Accelerometer& Accelerometer::shared() {
    static Accelerometer accelerometer;
    return accelerometer;
}

void Accelerometer::deliver(const Acceleration& acceleration) {
    if (auto delegate = delegate_.lock())
        delegate->accelerometerDidAccelerate(*this, acceleration);
}

} // namespace ui
