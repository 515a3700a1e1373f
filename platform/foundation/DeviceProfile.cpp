#include "platform/foundation/DeviceProfile.h"

namespace foundation {

DeviceProfile& DeviceProfile::current() {
    static DeviceProfile profile;
    return profile;
}

} // namespace foundation
