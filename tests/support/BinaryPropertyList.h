#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace testing_support {

// A binary property list written by hand, for shapes the writer refuses to make (too deep,
// shared, cyclic). Object i is an array of the objects refsOf(i) names, or the integer 1 when
// it names none; object 0 is the top.
inline std::string
binaryPropertyList(std::uint32_t count,
                   const std::function<std::vector<std::uint32_t>(std::uint32_t)>& refsOf) {
    auto appendBig = [](std::string& out, std::uint64_t value, int width) {
        for (int shift = (width - 1) * 8; shift >= 0; shift -= 8)
            out += static_cast<char>((value >> shift) & 0xFF);
    };
    std::string out = "bplist00";
    std::vector<std::uint32_t> offsets;
    for (std::uint32_t i = 0; i < count; ++i) {
        offsets.push_back(static_cast<std::uint32_t>(out.size()));
        const auto refs = refsOf(i);
        if (refs.empty()) {
            out += "\x10\x01";
            continue;
        }
        if (refs.size() < 15) {
            out += static_cast<char>(0xA0 | refs.size());
        } else {
            out += "\xAF\x12";
            appendBig(out, refs.size(), 4);
        }
        for (std::uint32_t ref : refs)
            appendBig(out, ref, 4);
    }
    const std::uint64_t table = out.size();
    for (std::uint32_t offset : offsets)
        appendBig(out, offset, 4);
    out += std::string(6, '\0');
    out += "\x04\x04";
    appendBig(out, count, 8);
    appendBig(out, 0, 8);
    appendBig(out, table, 8);
    return out;
}

// levels nested arrays, each holding the next `width` times, around one integer.
inline std::string binaryChain(std::uint32_t levels, std::uint32_t width = 1) {
    return binaryPropertyList(levels + 1, [=](std::uint32_t i) {
        return i < levels ? std::vector<std::uint32_t>(width, i + 1) : std::vector<std::uint32_t>{};
    });
}

} // namespace testing_support
