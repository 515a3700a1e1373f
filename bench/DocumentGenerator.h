#pragma once

#include <cstddef>
#include <random>
#include <string>

// Builds strict JSON documents of a given size from a fixed seed, so every parser and every
// run sees the same bytes.
class DocumentGenerator {
public:
    explicit DocumentGenerator(unsigned seed = 20091119) : random_(seed) {}

    // Records of objects, arrays, escaped and non-ASCII strings, numbers, booleans, nulls.
    std::string mixed(std::size_t targetBytes);
    // Mostly long strings, with escapes and multi-byte characters.
    std::string stringHeavy(std::size_t targetBytes);
    // Rows of integers and decimals, some with exponents.
    std::string numberHeavy(std::size_t targetBytes);

private:
    void appendRecord(std::string& out, int id);
    void appendText(std::string& out, std::size_t words);
    void appendNumber(std::string& out);
    int below(int bound) { return std::uniform_int_distribution<int>(0, bound - 1)(random_); }

    std::mt19937 random_;
};
