#pragma once

#include "platform/graphics/Geometry.h"
#include "platform/graphics/LineBreakMode.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace graphics {

// A typeface at a size, named as on the phone ("Helvetica", "Helvetica-Bold"). Text metrics
// and layout use points at 72 dpi with hinting off, so they are the same on every machine.
class Font {
public:
    // nullopt when no installed family answers to the name. A "-Bold", "-Oblique", "-Italic",
    // "-BoldOblique" or "-BoldItalic" suffix selects the style within the family.
    static std::optional<Font> named(std::string_view name, float size);
    static Font systemFont(float size);
    static Font boldSystemFont(float size);

    const std::string& name() const { return name_; }
    const std::string& familyName() const { return family_; }
    bool isBold() const { return bold_; }
    bool isItalic() const { return italic_; }
    float pointSize() const { return size_; }
    Font withSize(float size) const;

    // Distance from the baseline up to the top of the tallest glyphs; positive.
    float ascender() const;
    // Distance from the baseline down to the lowest glyphs; negative, as on the phone.
    float descender() const;
    // The height one line of text takes.
    float lineHeight() const;

    // Size of the text laid out without a width limit (lines break only at newlines), rounded
    // up to whole points.
    Size sizeOfText(std::string_view text) const;
    // Size of the text broken into lines no wider than constraint.width, keeping only the
    // lines that fit constraint.height (always at least one); rounded up to whole points. A
    // constraint of 0 or less on an axis means unlimited.
    Size sizeOfText(std::string_view text, Size constraint,
                    LineBreakMode mode = LineBreakMode::WordWrap) const;

    bool operator==(const Font&) const = default;

private:
    Font(std::string name, std::string family, bool bold, bool italic, float size);

    std::string name_;
    std::string family_;
    bool bold_;
    bool italic_;
    float size_;
};

} // namespace graphics

// Hashes what selects a face and its size; the name only repeats the family and style.
template <>
struct std::hash<graphics::Font> {
    std::size_t operator()(const graphics::Font& font) const noexcept;
};
