#pragma once

#include "platform/animation/Animation.h"

#include <string>

namespace animation {

// An animation of one layer property, named by its key path (see KeyPath).
class PropertyAnimation : public Animation {
public:
    const std::string& keyPath() const { return keyPath_; }

protected:
    explicit PropertyAnimation(std::string keyPath) : keyPath_(std::move(keyPath)) {}
    PropertyAnimation(const PropertyAnimation&) = default;

private:
    std::string keyPath_;
};

} // namespace animation
