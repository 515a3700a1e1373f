#pragma once

#include <string>

namespace ui {

// The device's facts as the simulator's profile gives them.
class Device {
public:
    static Device& current();

    std::string model() const;
    std::string systemName() const;
    std::string systemVersion() const;
    // Empty when the platform gives no identifier.
    std::string uniqueIdentifier() const;
    // 1 portrait, 2 upside down, 3 landscape right, 4 landscape left.
    int orientation() const;
    void setOrientation(int orientation);
};

} // namespace ui
