#include "platform/foundation/Dictionary.h"
#include "platform/foundation/Value.h"
#include "tests/support/SizedText.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <vector>

using foundation::Dictionary;
using foundation::Value;
using testing_support::SizedText;

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

TEST(Dictionary, SetIncludingNullStoresNullAsAValue) {
    Dictionary d;
    d.setIncludingNull("a", Value::integer(1));
    d.setIncludingNull("b", Value());
    d.setIncludingNull("a", Value());
    EXPECT_EQ(d.keys(), (std::vector<std::string>{"a", "b"}));
    EXPECT_TRUE(d.contains("a"));
    EXPECT_TRUE(d.get("a").isNull());
    d.set("b", Value());
    EXPECT_EQ(d.keys(), std::vector<std::string>{"a"});
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

TEST(Dictionary, MatchesAPlainMapThroughGrowthRemovalCopiesMovesAndReserve) {
    // Any reallocation the hash index misses leaves it pointing at moved or freed key text.
    std::mt19937 random(5);
    Dictionary dictionary;
    std::map<std::string, int> model;
    std::vector<std::string> order;
    for (int step = 0; step < 4000; ++step) {
        const std::string key = SizedText::numbered(random() % 4 ? 3 : 24, random() % 60);
        const int n = static_cast<int>(random() % 100);
        switch (random() % 6) {
        case 0:
            random() % 2 ? dictionary.remove(key) : dictionary.set(key, Value());
            if (model.erase(key))
                std::erase(order, key);
            break;
        case 1:
            dictionary.reserve(dictionary.size() + random() % 50);
            break;
        case 2: {
            Dictionary copy(dictionary), target;
            target = std::move(copy);
            dictionary = target;
            break;
        }
        default:
            if (!model.contains(key))
                order.push_back(key);
            model[key] = n;
            dictionary.set(key, Value::integer(n));
        }
        ASSERT_EQ(dictionary.size(), model.size());
        for (unsigned k = 0; k < 120; ++k) {
            const std::string probe = SizedText::numbered(k < 60 ? 3 : 24, k % 60);
            const auto it = model.find(probe);
            ASSERT_EQ(dictionary.get(probe),
                      it == model.end() ? Value() : Value::integer(it->second))
                << probe << " at step " << step;
        }
    }
    EXPECT_EQ(dictionary.keys(), order);
}
