#include "FlexMarkup.h"

#include <fmt/format.h>

#include <iterator>

namespace {

// Enough of each to pass the element bound, so the bound is what limits the tree.
constexpr int kTopLevelElements = 200;
constexpr int kPages = 3;
constexpr int kElementsPerPage = 24;
constexpr int kCellSide = 16;
constexpr const char* kIdentity3D = "[1,0,0,0, 0,1,0,0, 0,0,1,0, 0,0,0,1]";
constexpr const char* kTilted3D = "[0.98,0.17,0,0, -0.17,0.98,0,0, 0,0,1,0, 0,0,0,1]";

// Cells tile the 320 x 48 banner in rows of 16-point squares.
int cellX(int index) { return (index * kCellSide) % 320; }
int cellY(int index) { return ((index * kCellSide) / 320 % 3) * kCellSide; }

} // namespace

std::string FlexMarkup::largest(const std::vector<std::string>& assetURLs, bool animated) {
    std::string table;
    for (std::size_t i = 0; i < assetURLs.size(); ++i)
        table += fmt::format("{}\"a{}\": {{\"u\": \"{}\"}}", i ? ", " : "", i, assetURLs[i]);
    const FlexMarkup markup(int(assetURLs.size()), animated);
    std::string views =
        fmt::format(R"({{"t": "bg", "f": [0, 0, 320, 48], "bc": [0.1, 0.2, 0.5, 1], "ia": 0.6{}}})",
                    markup.animationGroup(0));
    views += fmt::format(", {}", markup.pages(1, false));
    for (int i = 0; i < kTopLevelElements; ++i)
        views += fmt::format(", {}", markup.element(i));
    return fmt::format(
        R"({{"$": {{{}}}, "ta": [0, 0, 320, 48], "itid": 0.5, "ucat": 1, "v": [{}]}})", table,
        views);
}

std::string FlexMarkup::element(int index) const {
    std::string common = fmt::format(R"("f": [{}, {}, {}, {}]{})", cellX(index), cellY(index),
                                     kCellSide, kCellSide, animationGroup(index));
    if (index % 3 == 0)
        common += fmt::format(R"(, "bgc": [0.2, 0.{}, 0.3, 0.8])", index % 10);
    if (index % 4 == 1)
        common += R"(, "ap": [0, 1])";
    if (index % 5 == 2)
        common += fmt::format(R"(, "ut": "e{}")", index);
    if (index == 7)
        common += R"(, "cav": 1)";
    return fmt::format("{{{}, {}}}", kindKeys(index), common);
}

std::string FlexMarkup::kindKeys(int index) const {
    switch (index % 4) {
    case 0:
        return fmt::format(R"("t": "l", "x": "Kessa {}", "fs": 9, "fco": [1, 1, 1, 1], "nol": 1)",
                           index);
    case 1:
        // Without assets, a name that is never downloaded: the element is looked up and left out.
        return fmt::format(R"("t": "i", "$": "{}", "b": {})",
                           assets_ > 0 ? fmt::format("a{}", index % assets_) : "none", index % 2);
    case 2:
        return R"("t": "bg", "ia": 0.4, "bc": [0.5, 0.1, 0.1, 1])";
    default:
        return R"("t": "P")";
    }
}

// The "a" and "ag" entries of an element, with their leading comma; empty when not animated.
std::string FlexMarkup::animationGroup(int index) const {
    if (!animated_)
        return "";
    std::string group = fmt::format(R"(, "a": [{}, {}])", member(index, 0), member(index, 1));
    if (index % 6 == 3)
        group += R"(, "ag": {"rc": 1000, "d": 9, "ar": 1, "fm": "fb"})";
    return group;
}

// Members cycle through every key path and value type, basic and keyframe in turn.
std::string FlexMarkup::member(int index, int slot) {
    static const std::string kHeads[] = {
        R"("t": "B", "kp": "opacity", "vt": "F", "fv": 0.3, "tv": 1, "tf": "io")",
        R"("t": "K", "kp": "position", "vt": "P", "vs": [[8, 8], [12, 8], [8, 8]], )"
        R"("kt": [0, 0.5, 1], "tfs": ["i", "o"])",
        R"("t": "B", "kp": "bounds", "vt": "R", "fv": [0, 0, 16, 16], "tv": [0, 0, 20, 20], )"
        R"("tf": "o")",
        R"("t": "B", "kp": "zPosition", "vt": "F", "fv": 0, "tv": 3)",
        R"("t": "K", "kp": "backgroundColor", "vt": "C", )"
        R"("vs": [[1, 0, 0, 1], [0, 0, 1, 1], [1, 0, 0, 1]])",
        R"("t": "B", "kp": "transform", "vt": "AT", "fv": [1, 0, 0, 0, 1, 0, 0, 0, 1], )"
        R"("tv": [1.2, 0, 0, 0, 1.2, 0, 0, 0, 1])",
        fmt::format(R"("t": "K", "kp": "transform", "vt": "T3", "vs": [{}, {}, {}])", kIdentity3D,
                    kTilted3D, kIdentity3D),
    };
    const auto& head = kHeads[(2 * index + slot) % std::size(kHeads)];
    return fmt::format(R"({{{}, "d": {}, "rc": 100000, "ar": {}, "bt": 0.{}}})", head,
                       1.5 + 0.25 * (index % 5), index % 2, slot);
}

std::string FlexMarkup::pages(int index, bool nested) const {
    std::string list;
    for (int page = 0; page < kPages; ++page) {
        std::string views;
        for (int i = 0; i < kElementsPerPage; ++i)
            views += fmt::format("{}{}", i ? ", " : "",
                                 element(index * 100 + page * kElementsPerPage + i));
        if (!nested && page == 1)
            views += fmt::format(", {}", pages(index + 1, true));
        list += fmt::format(R"({}{{"v": [{}]}})", page ? ", " : "", views);
    }
    return fmt::format(R"({{"t": "p", "f": [0, 0, 320, 48], "ip": 1, "pr": "s"{}, "p": [{}]}})",
                       animationGroup(index), list);
}
