#include "platform/graphics/RecordedOperation.h"

#include <fmt/format.h>

namespace graphics {
namespace {

using Kind = RecordedOperation::Kind;

std::string describe(Point p) { return fmt::format("({}, {})", p.x, p.y); }

std::string describe(const Rect& r) {
    return fmt::format("({}, {}, {}, {})", r.origin.x, r.origin.y, r.size.width, r.size.height);
}

std::string describe(const Color& c) {
    return fmt::format("rgba({}, {}, {}, {})", c.red(), c.green(), c.blue(), c.alpha());
}

std::string describe(const Gradient& gradient) {
    std::string stops;
    for (std::size_t i = 0; i < gradient.colors.size(); ++i) {
        if (i > 0)
            stops += ", ";
        stops += describe(gradient.colors[i]);
        if (i < gradient.locations.size())
            stops += fmt::format(" at {}", gradient.locations[i]);
    }
    return "[" + stops + "]";
}

const char* name(TextAlignment alignment) {
    switch (alignment) {
    case TextAlignment::Center:
        return "center";
    case TextAlignment::Right:
        return "right";
    default:
        return "left";
    }
}

const char* name(LineBreakMode mode) {
    switch (mode) {
    case LineBreakMode::CharacterWrap:
        return "characterWrap";
    case LineBreakMode::Clip:
        return "clip";
    case LineBreakMode::TruncateHead:
        return "truncateHead";
    case LineBreakMode::TruncateTail:
        return "truncateTail";
    case LineBreakMode::TruncateMiddle:
        return "truncateMiddle";
    default:
        return "wordWrap";
    }
}

std::string describeGradientOptions(GradientOptions options) {
    std::string extent;
    if (options.drawsBeforeStart)
        extent += " beforeStart";
    if (options.drawsAfterEnd)
        extent += " afterEnd";
    return extent;
}

} // namespace

std::string RecordedOperation::describe() const {
    using graphics::describe;
    switch (kind) {
    case Kind::SaveGState:
        return "saveGState";
    case Kind::RestoreGState:
        return "restoreGState";
    case Kind::SetFillColor:
        return "setFillColor " + describe(color);
    case Kind::SetStrokeColor:
        return "setStrokeColor " + describe(color);
    case Kind::SetLineWidth:
        return fmt::format("setLineWidth {}", value);
    case Kind::SetShouldAntialias:
        return fmt::format("setShouldAntialias {}", flag);
    case Kind::SetAlpha:
        return fmt::format("setAlpha {}", value);
    case Kind::ConcatCTM:
        return fmt::format("concatCTM [{} {} {} {} {} {}]", transform.a, transform.b, transform.c,
                           transform.d, transform.tx, transform.ty);
    case Kind::FillRect:
        return "fillRect " + describe(rect);
    case Kind::StrokeRect:
        return "strokeRect " + describe(rect);
    case Kind::BeginPath:
        return "beginPath";
    case Kind::MoveTo:
        return "moveTo " + describe(point);
    case Kind::LineTo:
        return "lineTo " + describe(point);
    case Kind::AddArc:
        return fmt::format("addArc {} radius {} from {} to {}{}", describe(point), value,
                           startAngle, endAngle, flag ? " clockwise" : "");
    case Kind::AddArcToPoint:
        return fmt::format("addArcToPoint {} {} radius {}", describe(point), describe(point2),
                           value);
    case Kind::AddRoundedRect:
        return fmt::format("addRoundedRect {} radius {}", describe(rect), value);
    case Kind::ClosePath:
        return "closePath";
    case Kind::FillPath:
        return "fillPath";
    case Kind::StrokePath:
        return "strokePath";
    case Kind::ClipToPath:
        return "clipToPath";
    case Kind::ClipToRect:
        return "clipToRect " + describe(rect);
    case Kind::DrawLinearGradient:
        return fmt::format("drawLinearGradient {} {} to {}{}", describe(gradient), describe(point),
                           describe(point2), describeGradientOptions(gradientOptions));
    case Kind::DrawImage:
        return fmt::format("drawImage {} image {}x{} caps {} {}", describe(rect), imageSize.width,
                           imageSize.height, leftCapWidth, topCapHeight);
    case Kind::DrawText:
        return fmt::format("drawText \"{}\" {} {} {} {} {} {}", text, describe(rect),
                           font ? font->name() : "", font ? font->pointSize() : 0, describe(color),
                           name(alignment), name(lineBreakMode));
    case Kind::BeginTransparencyLayer:
        return "beginTransparencyLayer";
    case Kind::EndTransparencyLayer:
        return "endTransparencyLayer";
    }
    return "unknown";
}

} // namespace graphics
