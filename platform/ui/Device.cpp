#include "platform/ui/Device.h"

#include "platform/foundation/DeviceProfile.h"
#include "platform/foundation/Singleton.h"

namespace ui {

Device& Device::current() { return foundation::Singleton<Device>::shared(); }

std::string Device::model() const { return foundation::DeviceProfile::current().model; }
std::string Device::systemName() const { return foundation::DeviceProfile::current().systemName; }
std::string Device::systemVersion() const {
    return foundation::DeviceProfile::current().systemVersion;
}
std::string Device::uniqueIdentifier() const {
    return foundation::DeviceProfile::current().uniqueIdentifier;
}
int Device::orientation() const { return foundation::DeviceProfile::current().orientation; }
void Device::setOrientation(int orientation) {
    foundation::DeviceProfile::current().orientation = orientation;
}

} // namespace ui
