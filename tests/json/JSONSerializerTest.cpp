#include "json/JSONSerializer.h"
#include "platform/foundation/Dictionary.h"
#include "json/JSONDeserializer.h"

#include <gtest/gtest.h>

#include <limits>

using foundation::Dictionary;
using foundation::Value;
using json::JSONSerializer;

namespace {

std::string serialized(const Value& value) {
    const auto result = JSONSerializer().serializeObject(value);
    EXPECT_TRUE(result.ok()) << (result.ok() ? "" : result.error().message);
    return result.ok() ? result.value() : "";
}

} // namespace

TEST(JSONSerializer, WritesCompactContainersInKeyOrder) {
    EXPECT_EQ(serialized(Value(Dictionary{})), "{}");
    EXPECT_EQ(serialized(Value(Value::Array{})), "[]");
    const Dictionary click{{"interactions", Value(Value::Array{"0,10,20,1.5", "1,10,20,1.7"})},
                           {"url", "a/b"},
                           {"n", Value()},
                           {"z", Value::boolean(false)}};
    EXPECT_EQ(serialized(Value(click)),
              R"({"interactions":["0,10,20,1.5","1,10,20,1.7"],"url":"a\/b","z":false})");
    EXPECT_EQ(JSONSerializer().serializeDictionary(click).value(), serialized(Value(click)));
    EXPECT_EQ(serialized(Value(Value::Array{Value(), Value::boolean(true)})), "[null,true]");
}

TEST(JSONSerializer, EscapesStringsSoEveryOutputIsValidJSON) {
    EXPECT_EQ(JSONSerializer().serializeString("a\tb").value(), R"("a\tb")");
    EXPECT_EQ(serialized(R"(\"/)"), R"("\\\"\/")");
    EXPECT_EQ(serialized("\b\f\n\r\x01\x1f"), R"("\b\f\n\u000d\u0001\u001f")");
    EXPECT_EQ(serialized("caf\xC3\xA9 \xF0\x9F\x98\x80"), "\"caf\xC3\xA9 \xF0\x9F\x98\x80\"");
    EXPECT_EQ(serialized(Value(foundation::Data::fromString("bytes/"))), R"("bytes\/")");
}

TEST(JSONSerializer, WritesNumbersShortestWithoutPlusSigns) {
    EXPECT_EQ(serialized(Value::boolean(true)), "true");
    EXPECT_EQ(serialized(Value::integer(1)), "1");
    EXPECT_EQ(serialized(Value::number(1)), "1");
    EXPECT_EQ(serialized(Value::number(-2000)), "-2000");
    EXPECT_EQ(serialized(Value::number(0.1)), "0.1");
    EXPECT_EQ(serialized(Value::number(-0.5)), "-0.5");
    EXPECT_EQ(serialized(Value::number(1e20)), "1e20");
    EXPECT_EQ(serialized(Value::number(1.5e-7)), "1.5e-07");
    EXPECT_EQ(serialized(Value::integer(9007199254740993LL)), "9007199254740992");
}

TEST(JSONSerializer, RefusesWhatJSONCannotCarry) {
    const JSONSerializer serializer;
    for (const Value& bad : {Value::number(std::numeric_limits<double>::infinity()),
                             Value::number(std::numeric_limits<double>::quiet_NaN()),
                             Value("\xC3("), Value(foundation::Data::fromString("\xFF"))}) {
        const auto result = serializer.serializeObject(Value(Value::Array{"ok", bad}));
        ASSERT_FALSE(result.ok());
        EXPECT_EQ(result.error().domain, JSONSerializer::kErrorDomain);
        EXPECT_TRUE(result.error().message.starts_with("Could not serialize object '"));
    }
    EXPECT_EQ(serializer.serializeObject(Value::number(-std::numeric_limits<double>::infinity()))
                  .error()
                  .message,
              "Could not serialize object '-inf'");
    Value deep = Value::number(1);
    for (int i = 0; i < JSONSerializer::kMaxDepth + 1; ++i)
        deep = Value(Value::Array{deep});
    EXPECT_FALSE(serializer.serializeObject(deep).ok());
}

TEST(JSONSerializer, OutputParsesBackToAnEqualValue) {
    const std::string document =
        R"({"text":"Caf\u00e9 \"quoted\" a\/b \r\u0001","6":[1,-2.5e3,0.1,1e300,true,null,[]],)"
        R"("markup":{"v":[{"$":"\ud83d\ude00","w":320.5}],"e":{}}})";
    const json::JSONDeserializer deserializer;
    const Value original = deserializer.deserializeAsDictionary(document).value();
    const std::string text = serialized(original);
    EXPECT_EQ(deserializer.deserializeAsDictionary(text).value(), original);
    EXPECT_EQ(serialized(deserializer.deserializeAsDictionary(text).value()), text);
}
