#include "platform/ui/DescriptionReader.h"

#include "platform/foundation/Value.h"

#include "platform/graphics/Font.h"
#include <array>

namespace ui {

namespace {
std::optional<std::array<float, 4>> fourNumbers(const foundation::Value& value) {
    const auto& array = value.asArray();
    if (array.size() != 4)
        return std::nullopt;
    std::array<float, 4> out{};
    for (std::size_t i = 0; i < 4; ++i) {
        if (!array[i].isNumber())
            return std::nullopt;
        out[i] = static_cast<float>(array[i].doubleValue());
    }
    return out;
}
} // namespace

std::optional<graphics::Rect> DescriptionReader::rect(const foundation::Value& value) {
    auto n = fourNumbers(value);
    if (!n)
        return std::nullopt;
    return graphics::Rect((*n)[0], (*n)[1], (*n)[2], (*n)[3]);
}

std::optional<graphics::Color> DescriptionReader::color(const foundation::Value& value) {
    auto n = fourNumbers(value);
    if (!n)
        return std::nullopt;
    return graphics::Color((*n)[0], (*n)[1], (*n)[2], (*n)[3]);
}

std::optional<graphics::Font> DescriptionReader::font(const foundation::Value& value) {
    if (!value["name"].isString() || !value["size"].isNumber())
        return std::nullopt;
    return graphics::Font::named(value["name"].asString(),
                                 static_cast<float>(value["size"].doubleValue()));
}

std::optional<std::string> DescriptionReader::string(const foundation::Value& value) {
    if (!value.isString())
        return std::nullopt;
    return std::string(value.asString());
}

} // namespace ui
