#include "platform/ui/Accelerometer.h"

#include "platform/foundation/Assertions.h"
#include "platform/foundation/Singleton.h"

namespace ui {

Accelerometer& Accelerometer::shared() { return foundation::Singleton<Accelerometer>::shared(); }

void Accelerometer::deliver(const Acceleration& acceleration) {
    foundation::assertIsMainThread();
    if (auto delegate = delegate_.lock())
        delegate->accelerometerDidAccelerate(*this, acceleration);
}

} // namespace ui
