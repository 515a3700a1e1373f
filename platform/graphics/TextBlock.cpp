#include "platform/graphics/TextBlock.h"

#include "platform/graphics/Font.h"
#include "platform/graphics/FontSystem.h"
#include "platform/graphics/LineBreakMode.h"
#include "platform/graphics/TextAlignment.h"

#include <climits>
#include <cmath>

namespace graphics {
namespace {

bool isLimited(float extent) { return extent > 0 && std::isfinite(extent); }

float pointsRoundedUp(int pangoUnits) { return std::ceil(float(pangoUnits) / PANGO_SCALE); }

PangoWrapMode wrapMode(LineBreakMode mode) {
    // Word wrap still splits a word that is wider than the whole line, as the phone does.
    return mode == LineBreakMode::CharacterWrap ? PANGO_WRAP_CHAR : PANGO_WRAP_WORD_CHAR;
}

PangoEllipsizeMode ellipsizeMode(LineBreakMode mode) {
    switch (mode) {
    case LineBreakMode::TruncateHead:
        return PANGO_ELLIPSIZE_START;
    case LineBreakMode::TruncateMiddle:
        return PANGO_ELLIPSIZE_MIDDLE;
    case LineBreakMode::TruncateTail:
        return PANGO_ELLIPSIZE_END;
    default:
        return PANGO_ELLIPSIZE_NONE;
    }
}

PangoAlignment pangoAlignment(TextAlignment alignment) {
    switch (alignment) {
    case TextAlignment::Center:
        return PANGO_ALIGN_CENTER;
    case TextAlignment::Right:
        return PANGO_ALIGN_RIGHT;
    default:
        return PANGO_ALIGN_LEFT;
    }
}

} // namespace

TextBlock::TextBlock(PangoContext* context, std::string_view text, const Font& font,
                     Size constraint, LineBreakMode mode, TextAlignment alignment)
    : layout_(pango_layout_new(context)) {
    pango_layout_set_font_description(layout_, FontSystem::shared().describe(font));
    // Text from the network may be malformed; Pango wants well-formed UTF-8.
    gchar* valid = g_utf8_make_valid(text.data(), gssize(text.size()));
    pango_layout_set_text(layout_, valid, -1);
    g_free(valid);
    if (isLimited(constraint.width)) {
        pango_layout_set_width(layout_, int(constraint.width * PANGO_SCALE));
        pango_layout_set_wrap(layout_, wrapMode(mode));
        pango_layout_set_alignment(layout_, pangoAlignment(alignment));
    }
    PangoEllipsizeMode ellipsize = ellipsizeMode(mode);
    if (ellipsize != PANGO_ELLIPSIZE_NONE) {
        pango_layout_set_ellipsize(layout_, ellipsize);
        // Pango's default of one line per paragraph would truncate every paragraph; let the
        // height decide instead.
        pango_layout_set_height(
            layout_, isLimited(constraint.height) ? int(constraint.height * PANGO_SCALE) : INT_MAX);
    }
    keepLinesThatFit(isLimited(constraint.height) ? constraint.height : INFINITY);
}

TextBlock::~TextBlock() { g_object_unref(layout_); }

void TextBlock::keepLinesThatFit(float heightLimit) {
    PangoLayoutIter* iter = pango_layout_get_iter(layout_);
    int width = 0;
    int bottom = 0;
    do {
        PangoRectangle logical;
        pango_layout_iter_get_line_extents(iter, nullptr, &logical);
        int lineBottom = logical.y + logical.height;
        if (keptLines_ > 0 && float(lineBottom) / PANGO_SCALE > heightLimit)
            break;
        ++keptLines_;
        width = std::max(width, logical.width);
        bottom = lineBottom;
    } while (pango_layout_iter_next_line(iter));
    pango_layout_iter_free(iter);
    size_ = {pointsRoundedUp(width), pointsRoundedUp(bottom)};
}

void TextBlock::draw(cairo_t* target, Point origin) const {
    PangoLayoutIter* iter = pango_layout_get_iter(layout_);
    for (int line = 0; line < keptLines_; ++line) {
        PangoRectangle logical;
        pango_layout_iter_get_line_extents(iter, nullptr, &logical);
        cairo_move_to(target, origin.x + float(logical.x) / PANGO_SCALE,
                      origin.y + float(pango_layout_iter_get_baseline(iter)) / PANGO_SCALE);
        pango_cairo_show_layout_line(target, pango_layout_iter_get_line_readonly(iter));
        if (!pango_layout_iter_next_line(iter))
            break;
    }
    pango_layout_iter_free(iter);
}

} // namespace graphics
