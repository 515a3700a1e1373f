#pragma once

#include <string>

namespace foundation {

// What the simulated device says about itself. The simulator fills it from its device profile
// before the application starts; the platform's device, locale and user-agent facts read it.
struct DeviceProfile {
    std::string model = "iPhone";
    std::string systemName = "iPhone OS";
    std::string systemVersion = "3.1.2";
    // The hardware string the kernel reports (uname's machine field on the device).
    std::string machine = "iPhone1,2";
    // Empty when the platform gives no identifier.
    std::string uniqueIdentifier = "0f607264fc6318a92b9e13c65db7cd3c1a2b3c4d";
    // Where sound goes, as the audio session names it: "Speaker", "Headphone", "Headset" or
    // another output's name; empty when sound goes nowhere.
    std::string audioRoute = "Speaker";
    std::string language = "en";
    std::string locale = "en_US";
    std::string timeZone = "UTC";
    // 1 portrait, 2 upside down, 3 landscape right, 4 landscape left.
    int orientation = 1;
    // Where the location hardware says the device is until a scenario says otherwise.
    double latitude = 45.5048;
    double longitude = -73.5772;
    double horizontalAccuracy = 65;

    static DeviceProfile& current();
};

} // namespace foundation
