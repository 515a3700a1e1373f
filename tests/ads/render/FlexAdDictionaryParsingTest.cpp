#include "ads/render/FlexAdDictionaryParsing.h"
#include "tests/ads/render/JSONText.h"

#include <gtest/gtest.h>

#include <climits>
#include <limits>
#include <optional>
#include <string>

using animation::FillMode;
using animation::MediaTimingFunction;
using graphics::AffineTransform;
using graphics::Color;
using graphics::Point;
using graphics::Rect;
using graphics::Size;
using graphics::Transform3D;
using pennant::FlexAdDictionaryParsing;
using testing_support::JSONText;

namespace {

constexpr float kInfinity = std::numeric_limits<float>::infinity();

template <typename T>
struct Case {
    std::string json;
    T expected;
};

} // namespace

TEST(FlexAdDictionaryParsing, FloatsReadNumbersAndLeadingDecimalsOfStrings) {
    const Case<float> cases[] = {
        {"3.5", 3.5f},
        {"\"12abc\"", 12},
        {"\"abc\"", 0},
        {"\" 3.5\"", 3.5f},
        {"\"-2.5e1x\"", -25},
        {"\"\"", 0},
        {"true", 1},
        {"false", 0},
        {"null", 7},
        {"[1]", 7},
        {"{\"a\": 1}", 7},
        // Beyond a float's range: infinite rather than an out-of-range conversion.
        {"1e39", kInfinity},
        {"-1e39", -kInfinity},
        {"\"1e999\"", kInfinity},
    };
    for (const auto& [json, expected] : cases)
        EXPECT_EQ(FlexAdDictionaryParsing::floatWithValue(JSONText::decode(json), 7), expected)
            << json;
}

TEST(FlexAdDictionaryParsing, IntegersTruncateTowardZeroAndSaturate) {
    const Case<long long> cases[] = {
        {"2.9", 2},  {"-2.9", -2}, {"\"42px\"", 42}, {"\"x\"", 0},        {"\" -7\"", -7},
        {"true", 1}, {"[3]", 5},   {"null", 5},      {"1e30", LLONG_MAX}, {"-1e30", LLONG_MIN},
    };
    for (const auto& [json, expected] : cases)
        EXPECT_EQ(FlexAdDictionaryParsing::integerWithValue(JSONText::decode(json), 5), expected)
            << json;
}

TEST(FlexAdDictionaryParsing, BooleansFromNumbersAndFromTheFirstLetterOfStrings) {
    const Case<bool> cases[] = {
        {"\"yes\"", true},  {"\"Y\"", true},      {"\"true\"", true},  {"\"T\"", true},
        {"\"1\"", true},    {"\"9\"", true},      {"\" +007\"", true}, {"\"  t\"", true},
        {"\"no\"", false},  {"\"N\"", false},     {"\"\"", false},     {"\"0\"", false},
        {"\"000\"", false}, {"\"false\"", false}, {"\"abc\"", false},  {"\"-0\"", false},
        {"0.0", false},     {"2", true},          {"0.5", true},       {"true", true},
        {"false", false},
    };
    for (const auto& [json, expected] : cases) {
        const auto value = JSONText::decode(json);
        EXPECT_EQ(FlexAdDictionaryParsing::boolWithValue(value, !expected), expected) << json;
    }
    for (const char* json : {"null", "[]", "{}"}) {
        EXPECT_TRUE(FlexAdDictionaryParsing::boolWithValue(JSONText::decode(json), true)) << json;
        EXPECT_FALSE(FlexAdDictionaryParsing::boolWithValue(JSONText::decode(json), false)) << json;
    }
}

TEST(FlexAdDictionaryParsing, RectsAreReadWholeOrNotAtAll) {
    const Rect fallback(9, 9, 9, 9);
    const Case<Rect> cases[] = {
        {"[\"10\", \"5\", 100, 20]", Rect(10, 5, 100, 20)},
        {"[1, 2, 3, 4, \"junk\", {}]", Rect(1, 2, 3, 4)},
        {"[true, false, \"2x\", -4]", Rect(1, 0, 2, -4)},
        {"[\"10\", null, 100, 20]", fallback},
        {"[1, 2, 3, [4]]", fallback},
        {"[1, 2, 3]", fallback},
        {"[]", fallback},
        {"\"1,2,3,4\"", fallback},
        {"{\"x\": 1}", fallback},
        {"null", fallback},
    };
    for (const auto& [json, expected] : cases)
        EXPECT_EQ(FlexAdDictionaryParsing::rectWithValue(JSONText::decode(json), fallback),
                  expected)
            << json;
}

TEST(FlexAdDictionaryParsing, PointsAndSizesReadTheirFirstTwoElements) {
    const Case<std::optional<Point>> cases[] = {
        {"[1, 2]", Point{1, 2}}, {"[\"1.5\", 2, \"x\"]", Point{1.5f, 2}},
        {"[1]", std::nullopt},   {"[1, null]", std::nullopt},
        {"5", std::nullopt},
    };
    const Point pointFallback{-1, -1};
    const Size sizeFallback{-1, -1};
    for (const auto& [json, expected] : cases) {
        const auto value = JSONText::decode(json);
        const Point point = expected.value_or(pointFallback);
        EXPECT_EQ(FlexAdDictionaryParsing::pointWithValue(value, pointFallback), point) << json;
        EXPECT_EQ(FlexAdDictionaryParsing::sizeWithValue(value, sizeFallback),
                  (Size{point.x, point.y}))
            << json;
    }
}

TEST(FlexAdDictionaryParsing, ColoursNeedFourComponentsAndKeepThemUnclamped) {
    const Color fallback = Color::blueColor();
    const Case<Color> cases[] = {
        {"[1, 0, 0, 1, 9]", Color::redColor()},
        {"[2, -1, \"0.5\", 1]", Color(2, -1, 0.5f, 1)},
        {"[1, 0, 0]", fallback},
        {"[1, 0, 0, \"\"]", Color(1, 0, 0, 0)},
        {"[1, 0, 0, null]", fallback},
        {"\"red\"", fallback},
    };
    for (const auto& [json, expected] : cases)
        EXPECT_EQ(FlexAdDictionaryParsing::colorWithValue(JSONText::decode(json), fallback),
                  expected)
            << json;
    // No default, no colour.
    EXPECT_EQ(FlexAdDictionaryParsing::colorWithValue(JSONText::decode("[1, 0, 0]"), std::nullopt),
              std::nullopt);
}

TEST(FlexAdDictionaryParsing, AffineTransformsReadTwoColumnsOfARowOrderMatrix) {
    const AffineTransform fallback = AffineTransform::rotation(1);
    const Case<AffineTransform> cases[] = {
        {"[2, 0, 0, 0, 2, 0, 0, 0, 1]", AffineTransform::scale(2, 2)},
        {"[1, 0, 0, 0, 1, 0, 5, 6, 1]", AffineTransform::translation(5, 6)},
        // The fixed third column is not read, so anything there goes; the ninth may be absent.
        {"[1, 2, \"x\", 3, 4, {}, 5, 6]", AffineTransform{1, 2, 3, 4, 5, 6}},
        {"[1, 0, 0, 0, 1, 0, 5]", fallback},
        {"[1, 0, 0, 0, 1, 0, null, 6, 1]", fallback},
        {"null", fallback},
    };
    for (const auto& [json, expected] : cases)
        EXPECT_EQ(
            FlexAdDictionaryParsing::affineTransformWithValue(JSONText::decode(json), fallback),
            expected)
            << json;
}

TEST(FlexAdDictionaryParsing, Transforms3DReadSixteenEntriesInRowOrder) {
    const Transform3D fallback = Transform3D::scale(3, 3, 3);
    const Transform3D counted{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    const Case<Transform3D> cases[] = {
        {"[1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17]", counted},
        {"[1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15]", fallback},
        {"[1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, []]", fallback},
    };
    for (const auto& [json, expected] : cases)
        EXPECT_EQ(FlexAdDictionaryParsing::transform3DWithValue(JSONText::decode(json), fallback),
                  expected)
            << json;
}

TEST(FlexAdDictionaryParsing, TimingFunctionsAndFillModesByCode) {
    using Name = MediaTimingFunction::Name;
    const Case<Name> timings[] = {
        {"\"l\"", Name::Linear},   {"\"i\"", Name::EaseIn},
        {"\"o\"", Name::EaseOut},  {"\"io\"", Name::EaseInEaseOut},
        {"\"IO\"", Name::Default}, {"\"\"", Name::Default},
        {"5", Name::Default},      {"[\"l\"]", Name::Default},
        {"null", Name::Default},
    };
    for (const auto& [json, name] : timings)
        EXPECT_EQ(
            FlexAdDictionaryParsing::timingFunctionWithValue(JSONText::decode(json), Name::Default),
            MediaTimingFunction::functionWithName(name))
            << json;

    const Case<FillMode> fills[] = {
        {"\"r\"", FillMode::Removed},   {"\"f\"", FillMode::Forwards},
        {"\"b\"", FillMode::Backwards}, {"\"fb\"", FillMode::Both},
        {"\"bf\"", FillMode::Forwards}, {"1", FillMode::Forwards},
        {"null", FillMode::Forwards},
    };
    for (const auto& [json, mode] : fills)
        EXPECT_EQ(
            FlexAdDictionaryParsing::fillModeWithValue(JSONText::decode(json), FillMode::Forwards),
            mode)
            << json;
}
