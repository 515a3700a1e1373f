#pragma once

#include "platform/graphics/Image.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace testing_support {

// Images whose content does not matter, only their size.
class SolidImage {
public:
    static std::shared_ptr<graphics::Image> ofSize(int width, int height) {
        return graphics::Image::fromPixels(
            width, height, std::vector<std::uint32_t>(std::size_t(width * height), 0xff0000ffu));
    }
};

} // namespace testing_support
