#pragma once

#include "platform/graphics/Color.h"
#include "platform/graphics/Geometry.h"

#include <optional>
#include <string>

namespace foundation {
class Value;
}
namespace graphics {
class Font;
}

namespace ui {

// Reads the value forms of interface descriptions: rectangles and colours as number arrays,
// fonts as {name, size} dictionaries. Wrong forms read as nullopt.
class DescriptionReader {
public:
    static std::optional<graphics::Rect> rect(const foundation::Value& value);
    static std::optional<graphics::Color> color(const foundation::Value& value);
    static std::optional<graphics::Font> font(const foundation::Value& value);
    static std::optional<std::string> string(const foundation::Value& value);
};

} // namespace ui
