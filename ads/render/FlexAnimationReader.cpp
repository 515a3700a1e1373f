#include "ads/render/FlexAnimationReader.h"

#include "ads/render/FlexAdDictionaryParsing.h"
#include "platform/animation/AnimationGroup.h"
#include "platform/animation/BasicAnimation.h"
#include "platform/animation/KeyframeAnimation.h"
#include "platform/foundation/Dictionary.h"
#include "platform/foundation/Value.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>
#include <span>
#include <utility>
#include <vector>

namespace pennant {

using animation::Animation;
using animation::AnimationValue;
using animation::MediaTimingFunction;
using foundation::Value;
using Parsing = FlexAdDictionaryParsing;

namespace {

enum class ValueType { Float, Rect, Point, Size, AffineTransform, Transform3D, Color };

constexpr std::pair<std::string_view, ValueType> kValueTypes[] = {
    {"F", ValueType::Float},
    {"R", ValueType::Rect},
    {"P", ValueType::Point},
    {"S", ValueType::Size},
    {"AT", ValueType::AffineTransform},
    {"T3", ValueType::Transform3D},
    {"C", ValueType::Color},
};

std::optional<ValueType> valueTypeWithCode(std::string_view code) {
    for (const auto& [name, type] : kValueTypes)
        if (name == code)
            return type;
    return std::nullopt;
}

// Zero, the zero structure, the identity transform or the clear colour.
AnimationValue emptyValueOf(ValueType type) {
    switch (type) {
    case ValueType::Float:
        return 0.0f;
    case ValueType::Rect:
        return graphics::Rect();
    case ValueType::Point:
        return graphics::Point();
    case ValueType::Size:
        return graphics::Size();
    case ValueType::AffineTransform:
    case ValueType::Transform3D:
        break;
    case ValueType::Color:
        return graphics::Color::clearColor();
    }
    return graphics::Transform3D::identity();
}

// The default's content when it is of the kind read, else that kind's empty value.
template <typename T>
T contentOr(const std::optional<AnimationValue>& value) {
    const T* content = value ? value->template get<T>() : nullptr;
    return content ? *content : T{};
}

constexpr float kMemberDuration = 0.25f;

double boundedSeconds(const Value& value, float defaultValue) {
    float seconds = Parsing::floatWithValue(value, defaultValue);
    if (std::isnan(seconds))
        seconds = defaultValue;
    const double limit = FlexAnimationReader::kMaximumSeconds;
    return std::clamp<double>(seconds, -limit, limit);
}

float boundedRepeatCount(const Value& value) {
    const float count = Parsing::floatWithValue(value, 1);
    if (std::isnan(count))
        return 1;
    if (count == std::numeric_limits<float>::infinity())
        return count; // for ever
    const float limit = FlexAnimationReader::kMaximumRepeatCount;
    return std::clamp(count, -limit, limit);
}

// Zero stays: a paused animation holds the frame its time offset picks, and schedules nothing.
float boundedSpeed(const Value& value) {
    const float speed = Parsing::floatWithValue(value, 1);
    if (std::isnan(speed))
        return 1;
    if (speed == 0)
        return 0;
    const float magnitude = std::clamp(std::fabs(speed), FlexAnimationReader::kMinimumSpeed,
                                       FlexAnimationReader::kMaximumSpeed);
    return std::copysign(magnitude, speed);
}

void readTiming(Animation& animation, const Value& properties, float defaultDuration) {
    animation.setBeginTime(boundedSeconds(properties["bt"], 0));
    animation.setTimeOffset(boundedSeconds(properties["to"], 0));
    animation.setRepeatCount(boundedRepeatCount(properties["rc"]));
    animation.setDuration(boundedSeconds(properties["d"], defaultDuration));
    animation.setAutoreverses(Parsing::boolWithValue(properties["ar"], false));
    animation.setRemovedOnCompletion(Parsing::boolWithValue(properties["roc"], true));
    animation.setFillMode(
        Parsing::fillModeWithValue(properties["fm"], animation::FillMode::Removed));
    animation.setSpeed(boundedSpeed(properties["s"]));
}

// When a member ends in the group's time.
double endOf(const Animation& member) {
    return (member.beginTime() + member.timeOffset() + member.duration() * member.repeatCount()) /
           member.speed();
}

bool hasKeyPathAndType(const Value& member) {
    return FlexAnimationReader::isAcceptedKeypath(member["kp"].asString()) &&
           member["vt"].isString();
}

// Absent key times are fine; present ones match the values one for one and run from 0 to 1.
bool areUsableKeyTimes(const Value* keyTimes, std::size_t valueCount) {
    if (!keyTimes)
        return true;
    const auto times = keyTimes->asArray();
    return keyTimes->isArray() && times.size() == valueCount && !times.empty() &&
           std::ranges::all_of(times, &Value::isNumber) &&
           Parsing::floatWithValue(times.front(), 0) == 0.0f &&
           Parsing::floatWithValue(times.back(), 0) == 1.0f;
}

// Absent timing codes are fine; present ones are strings, one per interval between values.
bool areUsableTimingCodes(const Value* codes, std::size_t valueCount) {
    if (!codes)
        return true;
    const auto entries = codes->asArray();
    return codes->isArray() && entries.size() + 1 == valueCount &&
           std::ranges::all_of(entries, &Value::isString);
}

std::span<const Value> prefix(std::span<const Value> entries, std::size_t limit) {
    return entries.first(std::min(entries.size(), limit));
}

std::shared_ptr<Animation> memberFromDictionary(const Value& member) {
    const auto kind = member["t"].asString();
    if (kind == "B")
        return FlexAnimationReader::basicAnimationFromDictionary(member);
    if (kind == "K")
        return FlexAnimationReader::keyframeAnimationFromDictionary(member);
    return nullptr;
}

} // namespace

std::optional<AnimationValue> FlexAnimationReader::valueOfType(std::string_view type,
                                                               const Value& value,
                                                               DefaultValueProvider provider) {
    const auto valueType = valueTypeWithCode(type);
    if (!valueType)
        return std::nullopt;
    const auto fallback = provider(type);
    switch (*valueType) {
    case ValueType::Float:
        return Parsing::floatWithValue(value, contentOr<float>(fallback));
    case ValueType::Rect:
        return Parsing::rectWithValue(value, contentOr<graphics::Rect>(fallback));
    case ValueType::Point:
        return Parsing::pointWithValue(value, contentOr<graphics::Point>(fallback));
    case ValueType::Size:
        return Parsing::sizeWithValue(value, contentOr<graphics::Size>(fallback));
    case ValueType::AffineTransform:
        return graphics::Transform3D::fromAffine(Parsing::affineTransformWithValue(
            value, contentOr<graphics::Transform3D>(fallback).affine()));
    case ValueType::Transform3D:
        return Parsing::transform3DWithValue(value, contentOr<graphics::Transform3D>(fallback));
    case ValueType::Color:
        break;
    }
    if (const auto color = Parsing::colorWithValue(value, std::nullopt))
        return *color;
    return fallback;
}

std::optional<AnimationValue>
FlexAnimationReader::defaultAnimationFromValueWithValueType(std::string_view type) {
    const auto valueType = valueTypeWithCode(type);
    if (!valueType)
        return std::nullopt;
    return emptyValueOf(*valueType);
}

std::optional<AnimationValue>
FlexAnimationReader::defaultAnimationToValueWithValueType(std::string_view type) {
    const auto valueType = valueTypeWithCode(type);
    if (!valueType)
        return std::nullopt;
    return *valueType == ValueType::Float ? AnimationValue(1.0f) : emptyValueOf(*valueType);
}

bool FlexAnimationReader::isAcceptedKeypath(std::string_view keyPath) {
    static constexpr std::string_view kAccepted[] = {
        "opacity", "position", "bounds", "zPosition", "backgroundColor", "transform",
    };
    return std::ranges::find(kAccepted, keyPath) != std::end(kAccepted);
}

std::shared_ptr<animation::BasicAnimation>
FlexAnimationReader::basicAnimationFromDictionary(const Value& member) {
    if (!hasKeyPathAndType(member))
        return nullptr;
    const auto type = member["vt"].asString();
    auto animation =
        animation::BasicAnimation::animationWithKeyPath(std::string(member["kp"].asString()));
    animation->setFromValue(
        valueOfType(type, member["fv"], &defaultAnimationFromValueWithValueType));
    animation->setToValue(valueOfType(type, member["tv"], &defaultAnimationToValueWithValueType));
    animation->setTimingFunction(
        Parsing::timingFunctionWithValue(member["tf"], MediaTimingFunction::Name::Linear));
    return animation;
}

std::shared_ptr<animation::KeyframeAnimation>
FlexAnimationReader::keyframeAnimationFromDictionary(const Value& member) {
    const Value& values = member["vs"];
    if (!hasKeyPathAndType(member) || !values.isArray())
        return nullptr;
    const std::size_t count = values.asArray().size();
    const Value* keyTimes = member.asDictionary().find("kt");
    const Value* timingCodes = member.asDictionary().find("tfs");
    if (!areUsableKeyTimes(keyTimes, count) || !areUsableTimingCodes(timingCodes, count))
        return nullptr;

    const auto type = member["vt"].asString();
    auto animation =
        animation::KeyframeAnimation::animationWithKeyPath(std::string(member["kp"].asString()));
    std::vector<AnimationValue> keyValues;
    for (const Value& entry : prefix(values.asArray(), kMaximumKeyframes))
        if (auto value = valueOfType(type, entry, &defaultAnimationToValueWithValueType))
            keyValues.push_back(std::move(*value));
    animation->setValues(std::move(keyValues));
    if (keyTimes) {
        std::vector<double> times;
        // Held to the pass: an infinite time (JSON's 1e400) would interpolate to no number.
        for (const Value& entry : prefix(keyTimes->asArray(), kMaximumKeyframes))
            times.push_back(std::clamp(entry.doubleValue(), 0.0, 1.0));
        animation->setKeyTimes(std::move(times));
    }
    if (timingCodes) {
        std::vector<MediaTimingFunction> functions;
        for (const Value& entry : prefix(timingCodes->asArray(), kMaximumKeyframes - 1))
            functions.push_back(
                Parsing::timingFunctionWithValue(entry, MediaTimingFunction::Name::Linear));
        animation->setTimingFunctions(std::move(functions));
    }
    return animation;
}

std::shared_ptr<animation::AnimationGroup>
FlexAnimationReader::animationGroupFromArray(const Value& members, const Value& properties) {
    std::vector<std::shared_ptr<Animation>> built;
    // Bounded timing keeps every finite end well within a float.
    float longestEnd = 0;
    for (const Value& entry : prefix(members.asArray(), kMaximumMembers)) {
        auto member = memberFromDictionary(entry);
        if (!member)
            continue;
        readTiming(*member, entry, kMemberDuration);
        const double end = endOf(*member);
        if (!(end <= longestEnd)) // a not-a-number end replaces the longest too
            longestEnd = static_cast<float>(end);
        built.push_back(std::move(member));
    }
    if (built.empty())
        return nullptr;
    auto group = animation::AnimationGroup::create();
    group->setAnimations(std::move(built));
    readTiming(*group, properties, longestEnd > 0 ? longestEnd : 0);
    return group;
}

} // namespace pennant
