#include "ads/render/FlexAnimationReader.h"
#include "platform/animation/AnimationGroup.h"
#include "platform/animation/BasicAnimation.h"
#include "platform/animation/KeyframeAnimation.h"
#include "platform/animation/Layer.h"
#include "platform/animation/LayerValues.h"
#include "platform/foundation/Dictionary.h"
#include "tests/ads/render/JSONText.h"
#include "tests/support/VirtualClockFixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>

using animation::AnimationGroup;
using animation::AnimationValue;
using animation::FillMode;
using animation::MediaTimingFunction;
using foundation::Value;
using graphics::Color;
using graphics::Point;
using graphics::Rect;
using graphics::Size;
using graphics::Transform3D;
using pennant::FlexAnimationReader;
using testing_support::JSONText;

namespace {

constexpr float kInfinity = std::numeric_limits<float>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

std::optional<AnimationValue> typed(std::string_view type, std::string_view json,
                                    FlexAnimationReader::DefaultValueProvider provider) {
    return FlexAnimationReader::valueOfType(type, JSONText::decode(json), provider);
}

// The member with one entry set (for values JSON cannot carry, such as NaN); anything but a
// dictionary counts as an empty one.
Value withEntry(const Value& member, std::string key, Value entry) {
    foundation::Dictionary entries = member.asDictionary();
    entries.set(std::move(key), std::move(entry));
    return Value(std::move(entries));
}

std::shared_ptr<AnimationGroup> group(std::string_view members,
                                      std::string_view properties = "null") {
    return FlexAnimationReader::animationGroupFromArray(JSONText::decode(members),
                                                        JSONText::decode(properties));
}

std::shared_ptr<AnimationGroup> groupOf(const Value& member) {
    return FlexAnimationReader::animationGroupFromArray(Value(Value::Array{member}), Value());
}

// A member array holding `count` opacity members; a keyframe member with `count` values.
std::string manyMembers(int count) {
    std::string json = "[";
    for (int i = 0; i < count; ++i)
        json += std::string(i ? "," : "") + R"({"t": "B", "kp": "opacity", "vt": "F"})";
    return json + "]";
}

std::string evenKeyframes(int count) {
    std::string values, times, codes;
    for (int i = 0; i < count; ++i) {
        values += std::string(i ? "," : "") + std::to_string(i);
        times += std::string(i ? "," : "") + std::to_string(double(i) / (count - 1));
        if (i)
            codes += std::string(i > 1 ? "," : "") + "\"i\"";
    }
    return R"({"kp": "opacity", "vt": "F", "vs": [)" + values + R"(], "kt": [)" + times +
           R"(], "tfs": [)" + codes + "]}";
}

} // namespace

TEST(FlexAnimationReader, TypedValuesFallBackToTheirProvidersDefaults) {
    const auto from = &FlexAnimationReader::defaultAnimationFromValueWithValueType;
    const auto to = &FlexAnimationReader::defaultAnimationToValueWithValueType;
    const struct {
        const char* type;
        const char* json;
        FlexAnimationReader::DefaultValueProvider provider;
        std::optional<AnimationValue> expected;
    } cases[] = {
        {"F", "\"0.5\"", to, 0.5f},
        {"F", "null", from, 0.0f},
        {"F", "[1]", to, 1.0f},
        {"R", "[1, 2, 3, 4]", to, Rect(1, 2, 3, 4)},
        {"R", "[1, 2, 3]", from, Rect()},
        {"P", "[1, \"2\"]", from, Point{1, 2}},
        {"S", "{}", to, Size()},
        // An affine matrix arrives as the 3D transform a layer animates.
        {"AT", "[2, 0, 0, 0, 2, 0, 0, 0, 1]", to, Transform3D::scale(2, 2, 1)},
        {"AT", "[2, 0, 0]", from, Transform3D::identity()},
        {"T3", "[1,0,0,0, 0,1,0,0, 0,0,1,0, 5,6,7,1]", to, Transform3D::translation(5, 6, 7)},
        {"T3", "\"identity\"", to, Transform3D::identity()},
        {"C", "[1, 0, 0, 1]", from, Color::redColor()},
        {"C", "[1, 0, 0]", to, Color::clearColor()},
        // Codes are case-sensitive; an unknown one yields nothing, not even a default.
        {"f", "1", to, std::nullopt},
        {"X", "[1, 2]", from, std::nullopt},
        {"", "1", to, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(typed(c.type, c.json, c.provider), c.expected) << c.type << " " << c.json;
}

TEST(FlexAnimationReader, AcceptsOnlyTheSixLayerKeyPaths) {
    for (const char* path :
         {"opacity", "position", "bounds", "zPosition", "backgroundColor", "transform"})
        EXPECT_TRUE(FlexAnimationReader::isAcceptedKeypath(path)) << path;
    // Animatable on the layer, but not part of the format.
    for (const char* path : {"anchorPoint", "position.x", "transform.scale", "Opacity", ""})
        EXPECT_FALSE(FlexAnimationReader::isAcceptedKeypath(path)) << path;
}

TEST(FlexAnimationReader, BasicMembersReadTheirEndsAndTimingFunction) {
    auto basic = FlexAnimationReader::basicAnimationFromDictionary(JSONText::decode(
        R"({"kp": "position", "vt": "P", "fv": [1, 2], "tv": "bad", "tf": "io"})"));
    ASSERT_TRUE(basic);
    EXPECT_EQ(basic->keyPath(), "position");
    EXPECT_EQ(basic->fromValue(), AnimationValue(Point{1, 2}));
    EXPECT_EQ(basic->toValue(), AnimationValue(Point{0, 0}));
    EXPECT_EQ(basic->timingFunction(),
              MediaTimingFunction::functionWithName(MediaTimingFunction::Name::EaseInEaseOut));

    // Defaults: 0 to 1 for floats, and a timing code that is not a string reads as linear.
    basic = FlexAnimationReader::basicAnimationFromDictionary(
        JSONText::decode(R"({"kp": "opacity", "vt": "F", "tf": 5})"));
    ASSERT_TRUE(basic);
    EXPECT_EQ(basic->fromValue(), AnimationValue(0.0f));
    EXPECT_EQ(basic->toValue(), AnimationValue(1.0f));
    EXPECT_EQ(basic->timingFunction(),
              MediaTimingFunction::functionWithName(MediaTimingFunction::Name::Linear));

    // A value type code that does not match the key path is still read as given.
    basic = FlexAnimationReader::basicAnimationFromDictionary(
        JSONText::decode(R"({"kp": "opacity", "vt": "C", "tv": [0, 0, 1, 1]})"));
    ASSERT_TRUE(basic);
    EXPECT_EQ(basic->toValue(), AnimationValue(Color::blueColor()));

    basic = FlexAnimationReader::basicAnimationFromDictionary(
        JSONText::decode(R"({"kp": "opacity", "vt": "Q", "fv": 1})"));
    ASSERT_TRUE(basic);
    EXPECT_FALSE(basic->fromValue());
    EXPECT_FALSE(basic->toValue());
}

TEST(FlexAnimationReader, MembersWithoutAnAcceptedKeyPathOrAValueTypeAreLeftOut) {
    for (const char* json : {
             R"({"vt": "F"})",
             R"({"kp": "anchorPoint", "vt": "P"})",
             R"({"kp": ["opacity"], "vt": "F"})",
             R"({"kp": "opacity"})",
             R"({"kp": "opacity", "vt": 1})",
             R"(["opacity", "F"])",
             "null",
         }) {
        const auto member = JSONText::decode(json);
        EXPECT_FALSE(FlexAnimationReader::basicAnimationFromDictionary(member)) << json;
        EXPECT_FALSE(FlexAnimationReader::keyframeAnimationFromDictionary(
            withEntry(member, "vs", JSONText::decode("[1, 2]"))))
            << json;
    }
}

TEST(FlexAnimationReader, KeyframeMembersWithConsistentArrays) {
    auto keyframe = FlexAnimationReader::keyframeAnimationFromDictionary(JSONText::decode(
        R"({"kp": "bounds", "vt": "R", "vs": [[0, 0, 1, 1], "bad", [0, 0, 2, 2]],
            "kt": [0, 0.25, 1.00000001], "tfs": ["i", "zz"]})"));
    ASSERT_TRUE(keyframe);
    EXPECT_EQ(keyframe->values(),
              (std::vector<AnimationValue>{Rect(0, 0, 1, 1), Rect(), Rect(0, 0, 2, 2)}));
    // The last key time is 1 as a 32-bit float, and is kept within the pass.
    EXPECT_EQ(keyframe->keyTimes(), (std::vector<double>{0, 0.25, 1}));
    using Name = MediaTimingFunction::Name;
    EXPECT_EQ(
        keyframe->timingFunctions(),
        (std::vector<MediaTimingFunction>{MediaTimingFunction::functionWithName(Name::EaseIn),
                                          MediaTimingFunction::functionWithName(Name::Linear)}));

    // Without key times or timing functions: evenly spaced and linear throughout.
    keyframe = FlexAnimationReader::keyframeAnimationFromDictionary(
        JSONText::decode(R"({"kp": "opacity", "vt": "F", "vs": [0.5, "x", true]})"));
    ASSERT_TRUE(keyframe);
    EXPECT_EQ(keyframe->values(), (std::vector<AnimationValue>{0.5f, 0.0f, 1.0f}));
    EXPECT_TRUE(keyframe->keyTimes().empty());
    EXPECT_TRUE(keyframe->timingFunctions().empty());

    // An unknown value type drops every value but keeps the member.
    keyframe = FlexAnimationReader::keyframeAnimationFromDictionary(
        JSONText::decode(R"({"kp": "opacity", "vt": "Z", "vs": [1, 2]})"));
    ASSERT_TRUE(keyframe);
    EXPECT_TRUE(keyframe->values().empty());
}

TEST(FlexAnimationReader, KeyframeMembersWithInconsistentArraysAreLeftOut) {
    const std::string head = R"({"kp": "opacity", "vt": "F", "vs": [0, 1, 0])";
    for (const char* rest : {
             R"(, "kt": [0, 0.5, 0.9]})", // does not end at 1
             R"(, "kt": [0.1, 0.5, 1]})", // does not start at 0
             R"(, "kt": [0, 1]})",        // one key time short
             R"(, "kt": [0, "0.5", 1]})", // a key time that is not a number
             R"(, "kt": null})",          // present but not an array
             R"(, "kt": "0 0.5 1"})",
             R"(, "tfs": ["l", "l", "l"]})", // one per interval: two, not three
             R"(, "tfs": ["l"]})",
             R"(, "tfs": ["l", 1]})", // a code that is not a string
             R"(, "tfs": "l"})",
         })
        EXPECT_FALSE(
            FlexAnimationReader::keyframeAnimationFromDictionary(JSONText::decode(head + rest)))
            << rest;
    for (const char* json : {
             R"({"kp": "opacity", "vt": "F"})",
             R"({"kp": "opacity", "vt": "F", "vs": 1})",
             R"({"kp": "opacity", "vt": "F", "vs": [], "kt": []})",
             R"({"kp": "opacity", "vt": "F", "vs": [], "tfs": []})",
         })
        EXPECT_FALSE(FlexAnimationReader::keyframeAnimationFromDictionary(JSONText::decode(json)))
            << json;
}

TEST(FlexAnimationReader, GroupsKeepTheirBuildableMembersInOrder) {
    const auto built = group(R"([
        {"t": "B", "kp": "opacity", "vt": "F"},
        {"t": "K", "kp": "position", "vt": "P", "vs": [[0, 0], [1, 1]]},
        {"t": "X", "kp": "opacity", "vt": "F"},
        {"kp": "opacity", "vt": "F"},
        {"t": 1, "kp": "opacity", "vt": "F"},
        {"t": "B", "kp": "anchorPoint", "vt": "P"},
        "B", null, [],
        {"t": "B", "kp": "transform", "vt": "T3"}])");
    ASSERT_TRUE(built);
    ASSERT_EQ(built->animations().size(), 3u);
    EXPECT_TRUE(std::dynamic_pointer_cast<animation::BasicAnimation>(built->animations()[0]));
    EXPECT_TRUE(std::dynamic_pointer_cast<animation::KeyframeAnimation>(built->animations()[1]));
    EXPECT_EQ(
        std::dynamic_pointer_cast<animation::BasicAnimation>(built->animations()[2])->keyPath(),
        "transform");

    EXPECT_FALSE(group("[]"));
    EXPECT_FALSE(group(R"([{"t": "X"}, {"t": "B"}])"));
    EXPECT_FALSE(group(R"({"t": "B", "kp": "opacity", "vt": "F"})"));
}

TEST(FlexAnimationReader, MemberAndGroupTimingWithTheirDefaults) {
    const auto built = group(R"([
        {"t": "B", "kp": "opacity", "vt": "F"},
        {"t": "B", "kp": "opacity", "vt": "F", "bt": "0.5", "to": 0.25, "rc": 3, "d": 2,
         "ar": "yes", "roc": 0, "fm": "fb", "s": 2},
        {"t": "B", "kp": "opacity", "vt": "F", "fm": "both", "ar": [], "d": {}}])",
                             R"({"d": 9, "bt": 1, "rc": 2, "ar": true, "roc": "no", "fm": "f",
                                 "s": 0.5, "to": 3})");
    ASSERT_TRUE(built);
    const auto& plain = *built->animations()[0];
    EXPECT_EQ(plain.beginTime(), 0);
    EXPECT_EQ(plain.timeOffset(), 0);
    EXPECT_EQ(plain.repeatCount(), 1);
    EXPECT_EQ(plain.duration(), 0.25); // a member without "d" lasts 0.25 s
    EXPECT_FALSE(plain.autoreverses());
    EXPECT_TRUE(plain.isRemovedOnCompletion());
    EXPECT_EQ(plain.fillMode(), FillMode::Removed);
    EXPECT_EQ(plain.speed(), 1);

    const auto& timed = *built->animations()[1];
    EXPECT_EQ(timed.beginTime(), 0.5);
    EXPECT_EQ(timed.timeOffset(), 0.25);
    EXPECT_EQ(timed.repeatCount(), 3);
    EXPECT_EQ(timed.duration(), 2);
    EXPECT_TRUE(timed.autoreverses());
    EXPECT_FALSE(timed.isRemovedOnCompletion());
    EXPECT_EQ(timed.fillMode(), FillMode::Both);
    EXPECT_EQ(timed.speed(), 2);

    const auto& malformed = *built->animations()[2];
    EXPECT_EQ(malformed.fillMode(), FillMode::Removed);
    EXPECT_FALSE(malformed.autoreverses());
    EXPECT_EQ(malformed.duration(), 0.25);

    EXPECT_EQ(built->duration(), 9);
    EXPECT_EQ(built->beginTime(), 1);
    EXPECT_EQ(built->timeOffset(), 3);
    EXPECT_EQ(built->repeatCount(), 2);
    EXPECT_TRUE(built->autoreverses());
    EXPECT_FALSE(built->isRemovedOnCompletion());
    EXPECT_EQ(built->fillMode(), FillMode::Forwards);
    EXPECT_EQ(built->speed(), 0.5f);
}

TEST(FlexAnimationReader, GroupLastsAsLongAsItsLongestMember) {
    const struct {
        const char* members;
        double duration;
    } cases[] = {
        // 0.5 s twice ends at 1 s; 0.25 s from 1 s at half speed ends at 2.5 s.
        {R"([{"t": "B", "kp": "opacity", "vt": "F", "bt": 0, "d": 0.5, "rc": 2},
             {"t": "B", "kp": "opacity", "vt": "F", "bt": 1, "d": 0.25, "s": 0.5}])",
         2.5},
        {R"([{"t": "B", "kp": "opacity", "vt": "F", "to": 1, "d": 1, "rc": 3}])", 4},
        {R"([{"t": "K", "kp": "opacity", "vt": "F", "vs": [0, 1]}])", 0.25},
        // An end that is not positive leaves the group at 0 (the platform's default length).
        {R"([{"t": "B", "kp": "opacity", "vt": "F", "bt": -5}])", 0},
        {R"([{"t": "B", "kp": "opacity", "vt": "F", "s": -1}])", 0},
    };
    for (const auto& c : cases) {
        const auto built = group(c.members);
        ASSERT_TRUE(built) << c.members;
        EXPECT_FLOAT_EQ(built->duration(), c.duration) << c.members;
    }
}

TEST(FlexAnimationReader, HostileTimingIsBounded) {
    const Value member = JSONText::decode(R"({"t": "B", "kp": "opacity", "vt": "F"})");
    const struct {
        const char* key;
        Value value;
        double expected;
    } cases[] = {
        {"d", Value::number(kNaN), 0.25},
        {"d", Value::number(1e39), 3600},
        {"d", Value("1e999"), 3600},
        {"d", Value::number(-1e9), -3600},
        {"bt", Value::number(kNaN), 0},
        {"bt", Value::number(-1e39), -3600},
        {"to", Value::number(1e12), 3600},
        {"to", Value::number(kNaN), 0},
        {"rc", Value::number(kNaN), 1},
        {"rc", Value::number(1e12), 10000},
        {"rc", Value::number(-1e39), -10000},
        {"rc", Value::number(1e39), kInfinity}, // for ever stays for ever
        {"s", Value::number(kNaN), 1},
        {"s", Value::number(1e39), 1000},
        {"s", Value::number(1e-30), 0.001},
        {"s", Value::number(-1e-30), -0.001},
        {"s", Value::number(0), 0}, // paused
    };
    for (const auto& c : cases) {
        const auto built = groupOf(withEntry(member, c.key, c.value));
        ASSERT_TRUE(built);
        const auto& read = *built->animations()[0];
        const std::string key = c.key;
        const double actual = key == "d"    ? read.duration()
                              : key == "bt" ? read.beginTime()
                              : key == "to" ? read.timeOffset()
                              : key == "rc" ? read.repeatCount()
                                            : read.speed();
        EXPECT_FLOAT_EQ(actual, c.expected) << key << " " << c.value.description();
    }
}

TEST(FlexAnimationReader, GroupDurationIsBoundedEvenForEndlessOrPausedMembers) {
    const Value member = JSONText::decode(R"({"t": "B", "kp": "opacity", "vt": "F", "d": 1})");
    const struct {
        const char* key;
        Value value;
        double duration;
    } cases[] = {
        {"rc", Value::number(1e39), 3600}, // a member that repeats for ever
        {"s", Value::number(0), 3600},     // a paused member never ends
        {"d", Value::number(kNaN), 0.25},
        {"bt", Value::number(1e30), 3600},
    };
    for (const auto& c : cases) {
        const auto built = groupOf(withEntry(member, c.key, c.value));
        ASSERT_TRUE(built);
        EXPECT_FLOAT_EQ(built->duration(), c.duration) << c.key;
    }
    // A zero-length pass repeated for ever has no end at all: the group takes its default.
    const auto endless =
        groupOf(withEntry(withEntry(member, "d", Value::number(0)), "rc", Value::number(1e39)));
    EXPECT_EQ(endless->duration(), 0);
}

TEST(FlexAnimationReader, LongArraysAreReadOnlyAsFarAsNeeded) {
    const auto keyframe =
        FlexAnimationReader::keyframeAnimationFromDictionary(JSONText::decode(evenKeyframes(1000)));
    ASSERT_TRUE(keyframe);
    EXPECT_EQ(keyframe->values().size(), 256u);
    EXPECT_EQ(keyframe->values().back(), AnimationValue(255.0f));
    EXPECT_EQ(keyframe->keyTimes().size(), 256u);
    EXPECT_EQ(keyframe->timingFunctions().size(), 255u);
    // Short ones are untouched.
    EXPECT_EQ(
        FlexAnimationReader::keyframeAnimationFromDictionary(JSONText::decode(evenKeyframes(256)))
            ->timingFunctions()
            .size(),
        255u);

    const auto built = group(manyMembers(300));
    ASSERT_TRUE(built);
    EXPECT_EQ(built->animations().size(), 256u);
}

namespace {
class FlexAnimationOnALayer : public testing_support::VirtualClockFixture {};
} // namespace

// Timing that would put the layer's end-of-animation work at an absurd or undefined time, or
// show values that are not numbers, plays out to a near, finite end instead.
TEST_F(FlexAnimationOnALayer, HostileTimingEndsAndShowsNumbers) {
    const Value member =
        JSONText::decode(R"({"t": "B", "kp": "opacity", "vt": "F", "fv": 0, "tv": 1, "d": 1})");
    const struct {
        const char* key;
        Value value;
    } cases[] = {
        {"s", Value::number(1e39)},  {"s", Value::number(1e-30)}, {"bt", Value::number(kNaN)},
        {"to", Value::number(1e39)}, {"d", Value::number(kNaN)},  {"rc", Value::number(kNaN)},
    };
    for (const auto& c : cases) {
        auto built = groupOf(withEntry(member, c.key, c.value));
        ASSERT_TRUE(built);
        const double active = built->activeDuration();
        EXPECT_TRUE(std::isfinite(active)) << c.key;
        EXPECT_LE(active, 3600 / FlexAnimationReader::kMinimumSpeed) << c.key;

        auto layer = animation::Layer::create();
        layer->addAnimation(built, "flex");
        const float shown = layer->presentationAt(now() + 0.1).opacity;
        EXPECT_TRUE(std::isfinite(shown)) << c.key;
        loop().runUntilIdle(foundation::Seconds(active + 1));
        EXPECT_FALSE(layer->animationForKey("flex")) << c.key;
    }
}

// Key times beyond the unit range (JSON's 1e400 arrives as infinity) would make the values in
// between not numbers.
TEST_F(FlexAnimationOnALayer, KeyTimesOutsideTheUnitRangeShowNumbers) {
    auto built = group(R"([{"t": "K", "kp": "opacity", "vt": "F", "vs": [0, 1, 0, 1], "d": 1,
                            "kt": [0, -1e400, 1e400, 1]}])");
    ASSERT_TRUE(built);
    auto layer = animation::Layer::create();
    layer->addAnimation(built);
    for (double t : {0.0, 0.25, 0.5, 0.75, 0.99})
        EXPECT_TRUE(std::isfinite(layer->presentationAt(now() + t).opacity)) << t;
}
