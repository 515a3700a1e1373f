#include "platform/foundation/Dictionary.h"
#include "platform/foundation/Value.h"

#include <gtest/gtest.h>

using foundation::Dictionary;
using foundation::Value;

TEST(Dictionary, NullRemovesAndRepeatedKeyKeepsLastInPlace) {
    Dictionary d;
    d.set("a", Value::integer(1));
    d.set("b", "x");
    d.set("a", Value::integer(2));
    EXPECT_EQ(d.keys(), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(d.get("a").intValue(), 2);
    d.set("a", Value());
    EXPECT_FALSE(d.contains("a"));
    EXPECT_EQ(d.size(), 1u);
}

TEST(Dictionary, LargeDictionariesStayConsistentAcrossGrowthAndRemoval) {
    Dictionary d;
    for (int i = 0; i < 500; ++i)
        d.set(std::to_string(i), Value::integer(i));
    d.remove("7");
    d.set("3", Value::integer(-3));
    ASSERT_EQ(d.size(), 499u);
    EXPECT_EQ(d.get("3").intValue(), -3);
    EXPECT_EQ(d.get("499").intValue(), 499);
    EXPECT_FALSE(d.contains("7"));
    Dictionary copy = d;
    EXPECT_EQ(copy, d);
    EXPECT_EQ(copy.get("250").intValue(), 250);
}

TEST(Value, LenientReadersTakeDefaultsForWrongKinds) {
    EXPECT_EQ(Value().doubleValue(4.5), 4.5);
    EXPECT_EQ(Value(Value::Array{}).intValue(7), 7);
    EXPECT_EQ(Value(" 12.5px").doubleValue(), 12.5);
    EXPECT_EQ(Value("px").doubleValue(3), 0);
    EXPECT_EQ(Value("0x10").doubleValue(), 0);
    EXPECT_EQ(Value("-42abc").intValue(), -42);
    EXPECT_EQ(Value::number(-3.9).intValue(), -3);
    EXPECT_TRUE(Value("  +007").boolValue());
    EXPECT_TRUE(Value("yes").boolValue());
    EXPECT_FALSE(Value("000").boolValue());
    EXPECT_FALSE(Value("no").boolValue(true));
    EXPECT_TRUE(Value::boolean(true).isNumber());
    EXPECT_EQ(Value::boolean(true).doubleValue(), 1);
    EXPECT_EQ(Value::integer(5).stringValue("d"), "d");
}

TEST(Value, EqualityComparesNumbersByValueAndDictionariesIgnoringOrder) {
    EXPECT_EQ(Value::boolean(true), Value::integer(1));
    EXPECT_EQ(Value::number(2.0), Value::integer(2));
    EXPECT_NE(Value("1"), Value::integer(1));
    Dictionary a{{"x", Value::integer(1)}, {"y", "z"}};
    Dictionary b{{"y", "z"}, {"x", Value::integer(1)}};
    EXPECT_EQ(Value(a), Value(b));
    EXPECT_NE(Value(a), Value(Dictionary{{"x", Value::integer(1)}}));
}

TEST(Value, CopiesShareStorageAndSubscriptsAreSafe) {
    Value v(Dictionary{{"list", Value(Value::Array{Value("a"), Value::integer(2)})}});
    Value copy = v;
    EXPECT_EQ(&copy.asDictionary(), &v.asDictionary());
    EXPECT_EQ(v["list"][1].intValue(), 2);
    EXPECT_TRUE(v["list"][9].isNull());
    EXPECT_TRUE(v["missing"]["deeper"].isNull());
    EXPECT_TRUE(Value("text")[0].isNull());
    EXPECT_EQ(v.description(), "{\n    list = (\n        a,\n        2\n    );\n}");
}
