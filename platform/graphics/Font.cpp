#include "platform/graphics/Font.h"

#include "platform/graphics/FontSystem.h"
#include "platform/graphics/TextAlignment.h"
#include "platform/graphics/TextBlock.h"

#include <array>

namespace graphics {
namespace {

struct StyleSuffix {
    std::string_view suffix;
    bool bold;
    bool italic;
};

constexpr std::array<StyleSuffix, 5> styleSuffixes{{{"-BoldOblique", true, true},
                                                    {"-BoldItalic", true, true},
                                                    {"-Bold", true, false},
                                                    {"-Oblique", false, true},
                                                    {"-Italic", false, true}}};

} // namespace

Font::Font(std::string name, std::string family, bool bold, bool italic, float size)
    : name_(std::move(name)), family_(std::move(family)), bold_(bold), italic_(italic),
      size_(size) {}

std::optional<Font> Font::named(std::string_view name, float size) {
    std::string_view family = name;
    bool bold = false;
    bool italic = false;
    for (const StyleSuffix& style : styleSuffixes) {
        if (name.size() > style.suffix.size() && name.ends_with(style.suffix)) {
            family = name.substr(0, name.size() - style.suffix.size());
            bold = style.bold;
            italic = style.italic;
            break;
        }
    }
    if (family.empty() || !FontSystem::shared().hasFamily(family))
        return std::nullopt;
    return Font(std::string(name), std::string(family), bold, italic, size);
}

Font Font::systemFont(float size) { return Font("Helvetica", "Helvetica", false, false, size); }

Font Font::boldSystemFont(float size) {
    return Font("Helvetica-Bold", "Helvetica", true, false, size);
}

Font Font::withSize(float size) const { return Font(name_, family_, bold_, italic_, size); }

float Font::ascender() const { return FontSystem::shared().metrics(*this).ascent; }

float Font::descender() const { return -FontSystem::shared().metrics(*this).descent; }

float Font::lineHeight() const {
    FontMetrics metrics = FontSystem::shared().metrics(*this);
    return metrics.ascent + metrics.descent;
}

Size Font::sizeOfText(std::string_view text) const {
    return sizeOfText(text, Size{}, LineBreakMode::WordWrap);
}

Size Font::sizeOfText(std::string_view text, Size constraint, LineBreakMode mode) const {
    return FontSystem::shared().withMeasuringContext([&](PangoContext* context) {
        return TextBlock(context, text, *this, constraint, mode, TextAlignment::Left).size();
    });
}

} // namespace graphics

std::size_t std::hash<graphics::Font>::operator()(const graphics::Font& font) const noexcept {
    std::size_t seed = std::hash<std::string>()(font.familyName());
    seed = seed * 31 + std::hash<float>()(font.pointSize());
    return seed * 4 + (font.isBold() ? 2 : 0) + (font.isItalic() ? 1 : 0);
}
