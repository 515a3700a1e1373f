#include "json/DataScanner.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <cstring>

namespace json {

DataScanner::DataScanner() : doubleCharacters_(byteSet("0123456789eE-.")) {}

DataScanner::DataScanner(Bytes data) : DataScanner() { DataScanner::setData(data); }

DataScanner::ByteSet DataScanner::byteSet(std::string_view members) {
    ByteSet set;
    for (char member : members)
        set.set(static_cast<std::uint8_t>(member));
    return set;
}

void DataScanner::setData(Bytes data) {
    start_ = data.data();
    current_ = start_;
    end_ = start_ + data.size();
}

void DataScanner::setScanLocation(std::size_t location) {
    current_ = start_ + std::min(location, length());
}

bool DataScanner::advanceTo(const std::uint8_t* to, std::string* out) {
    if (to == current_)
        return false;
    if (out)
        out->assign(reinterpret_cast<const char*>(current_),
                    static_cast<std::size_t>(to - current_));
    current_ = to;
    return true;
}

bool DataScanner::scanString(std::string_view text, std::string* out) {
    if (text.empty() || text.size() > static_cast<std::size_t>(end_ - current_) ||
        std::memcmp(current_, text.data(), text.size()) != 0)
        return false;
    return advanceTo(current_ + text.size(), out);
}

bool DataScanner::scanCharactersFromSet(const ByteSet& set, std::string* out) {
    return advanceTo(std::find_if(current_, end_, [&](std::uint8_t b) { return !set[b]; }), out);
}

bool DataScanner::scanUpToCharactersFromSet(const ByteSet& set, std::string* out) {
    return advanceTo(std::find_if(current_, end_, [&](std::uint8_t b) { return set[b]; }), out);
}

bool DataScanner::scanUpToString(std::string_view text, std::string* out) {
    const auto* found = std::search(current_, end_, text.begin(), text.end());
    if (text.empty() || found == end_)
        return false;
    return advanceTo(found, out);
}

bool DataScanner::scanNumber(double* out) {
    const auto* begin = current_;
    while (current_ < end_ && doubleCharacters_[*current_])
        ++current_;
    if (current_ == begin)
        return false;
    if (out)
        *out = leadingDouble(begin, current_);
    return true;
}

double DataScanner::leadingDouble(const std::uint8_t* begin, const std::uint8_t* end) {
    if (const auto exact = exactDouble(begin, end))
        return *exact;
    double value = 0;
    const auto* first = reinterpret_cast<const char*>(begin);
    const auto result = std::from_chars(first, reinterpret_cast<const char*>(end), value);
    if (result.ec == std::errc::result_out_of_range) {
        // Overflow becomes infinity and underflow zero, as strtod reports them.
        const std::string text(first, result.ptr);
        return std::strtod(text.c_str(), nullptr);
    }
    return result.ec == std::errc() ? value : 0;
}

// Most numbers in ad responses have few digits and a small exponent: their digits and the
// power of ten are both exact doubles, so one multiplication or division rounds correctly.
std::optional<double> DataScanner::exactDouble(const std::uint8_t* p, const std::uint8_t* end) {
    static constexpr double powers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                        1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    const bool negative = p < end && *p == '-';
    p += negative ? 1 : 0;
    std::uint64_t digits = 0;
    int count = 0, scale = 0;
    const auto* integerStart = p;
    for (; p < end && isDigit(*p); ++p, ++count)
        digits = digits * 10 + (*p - '0');
    const bool hasInteger = p > integerStart;
    if (p < end && *p == '.') {
        const auto* fractionStart = ++p;
        for (; p < end && isDigit(*p); ++p, ++count)
            digits = digits * 10 + (*p - '0');
        scale = static_cast<int>(fractionStart - p);
        if (p == fractionStart)
            return std::nullopt;
    }
    if (!hasInteger || count > 15)
        return std::nullopt;
    if (p < end && (*p == 'e' || *p == 'E')) {
        const bool negativeExponent = ++p < end && *p == '-';
        p += negativeExponent ? 1 : 0;
        int exponent = 0;
        const auto* exponentStart = p;
        for (; p < end && isDigit(*p) && exponent < 1000; ++p)
            exponent = exponent * 10 + (*p - '0');
        if (p == exponentStart)
            return std::nullopt;
        scale += negativeExponent ? -exponent : exponent;
    }
    if (p != end || scale < -22 || scale > 22)
        return std::nullopt;
    double value = static_cast<double>(digits);
    value = scale < 0 ? value / powers[-scale] : value * powers[scale];
    return negative ? -value : value;
}

} // namespace json
