#include "ads/render/FlexAdDictionaryParsing.h"

#include "platform/foundation/Value.h"

#include <array>
#include <limits>
#include <string_view>

namespace pennant {

using animation::FillMode;
using animation::MediaTimingFunction;
using foundation::Value;

namespace {

// Numbers beyond a float's range saturate to infinity instead of converting out of range.
float toFloat(double number) {
    constexpr double kLargest = std::numeric_limits<float>::max();
    constexpr float kInfinity = std::numeric_limits<float>::infinity();
    if (number > kLargest)
        return kInfinity;
    if (number < -kLargest)
        return -kInfinity;
    return static_cast<float>(number);
}

template <std::size_t N>
constexpr std::array<std::size_t, N> firstIndices() {
    std::array<std::size_t, N> indices{};
    for (std::size_t i = 0; i < N; ++i)
        indices[i] = i;
    return indices;
}

// The floats at the given indices of an array of at least minimumCount elements; none when
// the value is no such array or one of those elements is neither a number nor a string.
template <std::size_t N>
std::optional<std::array<float, N>> floatsAt(const Value& value, std::size_t minimumCount,
                                             const std::array<std::size_t, N>& indices) {
    const auto elements = value.asArray();
    if (elements.size() < minimumCount)
        return std::nullopt;
    std::array<float, N> floats{};
    for (std::size_t i = 0; i < N; ++i) {
        const Value& element = elements[indices[i]];
        if (!element.isNumber() && !element.isString())
            return std::nullopt;
        floats[i] = toFloat(element.doubleValue());
    }
    return floats;
}

template <std::size_t N>
std::optional<std::array<float, N>> leadingFloats(const Value& value) {
    return floatsAt(value, N, firstIndices<N>());
}

template <typename T>
struct Code {
    std::string_view code;
    T meaning;
};

constexpr Code<MediaTimingFunction::Name> kTimingCodes[] = {
    {"l", MediaTimingFunction::Name::Linear},
    {"i", MediaTimingFunction::Name::EaseIn},
    {"o", MediaTimingFunction::Name::EaseOut},
    {"io", MediaTimingFunction::Name::EaseInEaseOut},
};

constexpr Code<FillMode> kFillModeCodes[] = {
    {"r", FillMode::Removed},
    {"f", FillMode::Forwards},
    {"b", FillMode::Backwards},
    {"fb", FillMode::Both},
};

// A non-string reads as the empty text, which is no code.
template <typename T, std::size_t N>
T meaningOf(const Code<T> (&codes)[N], const Value& value, T defaultValue) {
    for (const auto& entry : codes)
        if (entry.code == value.asString())
            return entry.meaning;
    return defaultValue;
}

} // namespace

float FlexAdDictionaryParsing::floatWithValue(const Value& value, float defaultValue) {
    return toFloat(value.doubleValue(defaultValue));
}

long long FlexAdDictionaryParsing::integerWithValue(const Value& value, long long defaultValue) {
    return value.intValue(defaultValue);
}

bool FlexAdDictionaryParsing::boolWithValue(const Value& value, bool defaultValue) {
    return value.boolValue(defaultValue);
}

graphics::Rect FlexAdDictionaryParsing::rectWithValue(const Value& value,
                                                      graphics::Rect defaultValue) {
    const auto f = leadingFloats<4>(value);
    return f ? graphics::Rect((*f)[0], (*f)[1], (*f)[2], (*f)[3]) : defaultValue;
}

graphics::Point FlexAdDictionaryParsing::pointWithValue(const Value& value,
                                                        graphics::Point defaultValue) {
    const auto f = leadingFloats<2>(value);
    return f ? graphics::Point{(*f)[0], (*f)[1]} : defaultValue;
}

graphics::Size FlexAdDictionaryParsing::sizeWithValue(const Value& value,
                                                      graphics::Size defaultValue) {
    const auto f = leadingFloats<2>(value);
    return f ? graphics::Size{(*f)[0], (*f)[1]} : defaultValue;
}

std::optional<graphics::Color>
FlexAdDictionaryParsing::colorWithValue(const Value& value,
                                        std::optional<graphics::Color> defaultValue) {
    const auto f = leadingFloats<4>(value);
    return f ? graphics::Color((*f)[0], (*f)[1], (*f)[2], (*f)[3]) : defaultValue;
}

graphics::AffineTransform
FlexAdDictionaryParsing::affineTransformWithValue(const Value& value,
                                                  graphics::AffineTransform defaultValue) {
    // The third column (entries 2, 5 and 8) of an affine matrix is fixed, so it is not read.
    constexpr std::array<std::size_t, 6> kAffineEntries = {0, 1, 3, 4, 6, 7};
    const auto f = floatsAt(value, 8, kAffineEntries);
    return f ? graphics::AffineTransform{(*f)[0], (*f)[1], (*f)[2], (*f)[3], (*f)[4], (*f)[5]}
             : defaultValue;
}

graphics::Transform3D
FlexAdDictionaryParsing::transform3DWithValue(const Value& value,
                                              const graphics::Transform3D& defaultValue) {
    const auto f = leadingFloats<16>(value);
    if (!f)
        return defaultValue;
    const auto& m = *f;
    return {m[0], m[1], m[2],  m[3],  m[4],  m[5],  m[6],  m[7],
            m[8], m[9], m[10], m[11], m[12], m[13], m[14], m[15]};
}

MediaTimingFunction
FlexAdDictionaryParsing::timingFunctionWithValue(const Value& value,
                                                 MediaTimingFunction::Name defaultName) {
    return MediaTimingFunction::functionWithName(meaningOf(kTimingCodes, value, defaultName));
}

FillMode FlexAdDictionaryParsing::fillModeWithValue(const Value& value, FillMode defaultValue) {
    return meaningOf(kFillModeCodes, value, defaultValue);
}

} // namespace pennant
