#include "platform/foundation/Dictionary.h"
#include "platform/foundation/Value.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <map>
#include <random>

using foundation::Data;
using foundation::Dictionary;
using foundation::Value;

namespace {

// Texts of n bytes around the inline capacity; short keys also stay inside a dictionary entry.
std::string text(std::size_t length, unsigned n) {
    std::string out = std::to_string(n);
    out.resize(length, '.');
    return out;
}

} // namespace

TEST(Value, RandomCopiesAndAssignmentsKeepEveryValueIntact) {
    // Strings of 13, 14 and 15 bytes straddle the inline capacity. Checked against a plain
    // model; the sanitizer build catches a block freed early or twice, self-assignment included.
    std::mt19937 random(3);
    auto make = [](unsigned kind, unsigned n) {
        switch (kind) {
        case 0:
            return Value(text(13 + n % 3, n));
        case 1:
            return Value(Value::Array{Value::integer(n), Value(text(30, n))});
        case 2:
            return Value(Data::fromString(text(5, n)));
        default:
            return Value::integer(n);
        }
    };
    std::vector<Value> slots(10);
    std::vector<std::pair<int, unsigned>> model(10, {-1, 0});
    for (int step = 0; step < 4000; ++step) {
        const auto a = random() % slots.size(), b = random() % slots.size();
        switch (random() % 3) {
        case 0:
            model[a] = {static_cast<int>(random() % 4), random() % 1000};
            slots[a] = make(model[a].first, model[a].second);
            break;
        case 1:
            slots[a] = slots[b];
            model[a] = model[b];
            break;
        default:
            slots[a] = std::move(slots[b]);
            model[a] = model[b];
            if (a != b)
                model[b] = {-1, 0};
        }
        for (std::size_t i = 0; i < slots.size(); ++i)
            ASSERT_EQ(slots[i],
                      model[i].first < 0 ? Value() : make(model[i].first, model[i].second))
                << step;
    }
}

TEST(Value, IntegersNearTheLimitsReadBackExactly) {
    for (long long n :
         {LLONG_MAX, LLONG_MIN, 9'210'000'000'000'000'000LL, -9'210'000'000'000'000'000LL})
        EXPECT_EQ(Value::integer(n).intValue(), n);
    EXPECT_EQ(Value::number(1e300).intValue(), LLONG_MAX);
    EXPECT_EQ(Value::number(-1e300).intValue(), LLONG_MIN);
    EXPECT_EQ(Value::number(std::nan("")).intValue(), 0);
    EXPECT_EQ(Value("9223372036854775807").intValue(), LLONG_MAX);
    EXPECT_EQ(Value("9223372036854775800").intValue(), 9223372036854775800LL);
    EXPECT_EQ(Value("-9223372036854775807").intValue(), -9223372036854775807LL);
    EXPECT_EQ(Value("-9223372036854775808").intValue(), LLONG_MIN);
    EXPECT_EQ(Value("123456789012345678901234").intValue(), LLONG_MAX);
    EXPECT_EQ(Value("-123456789012345678901234").intValue(), LLONG_MIN);
}

TEST(Dictionary, MatchesAPlainMapThroughGrowthRemovalCopiesMovesAndReserve) {
    // Any reallocation the hash index misses leaves it pointing at moved or freed key text.
    std::mt19937 random(5);
    Dictionary dictionary;
    std::map<std::string, int> model;
    std::vector<std::string> order;
    for (int step = 0; step < 4000; ++step) {
        const std::string key = text(random() % 4 ? 3 : 24, random() % 60);
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
            const std::string probe = text(k < 60 ? 3 : 24, k % 60);
            const auto it = model.find(probe);
            ASSERT_EQ(dictionary.get(probe),
                      it == model.end() ? Value() : Value::integer(it->second))
                << probe << " at step " << step;
        }
    }
    EXPECT_EQ(dictionary.keys(), order);
}
