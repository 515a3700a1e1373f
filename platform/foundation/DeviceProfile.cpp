#include "platform/foundation/DeviceProfile.h"

#include "platform/foundation/PlatformContext.h"

namespace foundation {

DeviceProfile& DeviceProfile::current() {
    return PlatformContext::current().object<DeviceProfile>();
}

} // namespace foundation
