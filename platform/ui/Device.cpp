#include "platform/ui/Device.h"

#include "platform/foundation/DeviceProfile.h"

namespace ui {

Device& Device::current() {
    static Device device;
    return device;
}

std::string Device::model() const { return foundation::DeviceProfile::current().model; }
std::string Device::systemName() const { return foundation::DeviceProfile::current().systemName; }
std::string Device::systemVersion() const { return foundation::DeviceProfile::current().systemVersion; }
std::string Device::uniqueIdentifier() const { return foundation::DeviceProfile::current().uniqueIdentifier; }
int Device::orientation() const { return foundation::DeviceProfile::current().orientation; }
void Device::setOrientation(int orientation) { foundation::DeviceProfile::current().orientation = orientation; }

} // namespace ui
