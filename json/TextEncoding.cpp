#include "json/TextEncoding.h"

namespace json {

namespace {

char32_t unitAt(const std::uint8_t* p, int width, bool bigEndian) {
    char32_t unit = 0;
    for (int i = 0; i < width; ++i) {
        const int shift = 8 * (bigEndian ? width - 1 - i : i);
        unit |= static_cast<char32_t>(p[i]) << shift;
    }
    return unit;
}

} // namespace

TextEncoding::Kind TextEncoding::detect(Bytes data) {
    if (data.size() < 4)
        return Kind::UTF8;
    const bool b0 = data[0] != 0, b1 = data[1] != 0, b2 = data[2] != 0, b3 = data[3] != 0;
    if (b0 && !b1 && b2 && !b3)
        return Kind::UTF16LittleEndian;
    if (b0 && !b1 && !b2 && !b3)
        return Kind::UTF32LittleEndian;
    if (!b0 && b1 && !b2 && b3)
        return Kind::UTF16BigEndian;
    if (!b0 && !b1 && !b2 && b3)
        return Kind::UTF32BigEndian;
    return Kind::UTF8;
}

std::string TextEncoding::toUTF8(Bytes data, Kind kind) {
    std::string out;
    switch (kind) {
    case Kind::UTF8:
        out.assign(data.begin(), data.end());
        break;
    case Kind::UTF16LittleEndian:
        appendUTF16(out, data, false);
        break;
    case Kind::UTF16BigEndian:
        appendUTF16(out, data, true);
        break;
    case Kind::UTF32LittleEndian:
        appendUTF32(out, data, false);
        break;
    case Kind::UTF32BigEndian:
        appendUTF32(out, data, true);
        break;
    }
    return out;
}

void TextEncoding::appendUTF16(std::string& out, Bytes data, bool bigEndian) {
    out.reserve(data.size() / 2 * 3);
    const std::size_t units = data.size() / 2;
    for (std::size_t i = 0; i < units; ++i) {
        char32_t unit = unitAt(&data[2 * i], 2, bigEndian);
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < units) {
            const char32_t low = unitAt(&data[2 * i + 2], 2, bigEndian);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
                ++i;
            }
        }
        foundation::UTF8::append(out, unit);
    }
    if (data.size() % 2)
        foundation::UTF8::append(out, kReplacementCharacter);
}

void TextEncoding::appendUTF32(std::string& out, Bytes data, bool bigEndian) {
    out.reserve(data.size());
    for (std::size_t i = 0; i + 4 <= data.size(); i += 4) {
        const char32_t unit = unitAt(&data[i], 4, bigEndian);
        foundation::UTF8::append(out, unit);
    }
    if (data.size() % 4)
        foundation::UTF8::append(out, kReplacementCharacter);
}

int TextEncoding::sequenceLength(const std::uint8_t* p, const std::uint8_t* end) {
    const std::uint8_t lead = *p;
    int length;
    std::uint8_t low = 0x80, high = 0xBF;
    if (lead < 0x80) {
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : low;   // overlong
        high = lead == 0xED ? 0x9F : high; // surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : low;   // overlong
        high = lead == 0xF4 ? 0x8F : high; // beyond U+10FFFF
    } else {
        return 0;
    }
    if (end - p < length || p[1] < low || p[1] > high)
        return 0;
    for (int k = 2; k < length; ++k)
        if ((p[k] & 0xC0) != 0x80)
            return 0;
    return length;
}

} // namespace json
