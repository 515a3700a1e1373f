#include "platform/graphics/RecordingContext.h"

#include "platform/graphics/Image.h"

namespace graphics {

using Kind = RecordedOperation::Kind;

RecordedOperation& RecordingContext::record(Kind kind) {
    RecordedOperation& operation = operations_.emplace_back();
    operation.kind = kind;
    return operation;
}

std::vector<RecordedOperation> RecordingContext::operationsOfKind(Kind kind) const {
    std::vector<RecordedOperation> matching;
    for (const RecordedOperation& operation : operations_)
        if (operation.kind == kind)
            matching.push_back(operation);
    return matching;
}

std::string RecordingContext::dump() const {
    std::string text;
    for (const RecordedOperation& operation : operations_)
        text += operation.describe() + "\n";
    return text;
}

void RecordingContext::saveGState() { record(Kind::SaveGState); }

void RecordingContext::restoreGState() { record(Kind::RestoreGState); }

void RecordingContext::setFillColor(const Color& color) {
    record(Kind::SetFillColor).color = color;
}

void RecordingContext::setStrokeColor(const Color& color) {
    record(Kind::SetStrokeColor).color = color;
}

void RecordingContext::setLineWidth(float width) { record(Kind::SetLineWidth).value = width; }

void RecordingContext::setShouldAntialias(bool antialias) {
    record(Kind::SetShouldAntialias).flag = antialias;
}

void RecordingContext::setAlpha(float alpha) { record(Kind::SetAlpha).value = alpha; }

void RecordingContext::concatCTM(const AffineTransform& transform) {
    record(Kind::ConcatCTM).transform = transform;
}

void RecordingContext::fillRect(const Rect& rect) { record(Kind::FillRect).rect = rect; }

void RecordingContext::strokeRect(const Rect& rect) { record(Kind::StrokeRect).rect = rect; }

void RecordingContext::beginPath() { record(Kind::BeginPath); }

void RecordingContext::moveTo(Point point) { record(Kind::MoveTo).point = point; }

void RecordingContext::lineTo(Point point) { record(Kind::LineTo).point = point; }

void RecordingContext::addArc(Point center, float radius, float startAngle, float endAngle,
                              bool clockwise) {
    RecordedOperation& operation = record(Kind::AddArc);
    operation.point = center;
    operation.value = radius;
    operation.startAngle = startAngle;
    operation.endAngle = endAngle;
    operation.flag = clockwise;
}

void RecordingContext::addArcToPoint(Point p1, Point p2, float radius) {
    RecordedOperation& operation = record(Kind::AddArcToPoint);
    operation.point = p1;
    operation.point2 = p2;
    operation.value = radius;
}

void RecordingContext::closePath() { record(Kind::ClosePath); }

void RecordingContext::addRoundedRect(const Rect& rect, float radius) {
    RecordedOperation& operation = record(Kind::AddRoundedRect);
    operation.rect = rect;
    operation.value = radius;
}

void RecordingContext::fillPath() { record(Kind::FillPath); }

void RecordingContext::strokePath() { record(Kind::StrokePath); }

void RecordingContext::clipToPath() { record(Kind::ClipToPath); }

void RecordingContext::clipToRect(const Rect& rect) { record(Kind::ClipToRect).rect = rect; }

void RecordingContext::drawLinearGradient(const Gradient& gradient, Point start, Point end,
                                          GradientOptions options) {
    RecordedOperation& operation = record(Kind::DrawLinearGradient);
    operation.gradient = gradient;
    operation.point = start;
    operation.point2 = end;
    operation.gradientOptions = options;
}

void RecordingContext::drawImage(const Image& image, const Rect& rect) {
    RecordedOperation& operation = record(Kind::DrawImage);
    operation.rect = rect;
    operation.imageSize = image.size();
    operation.leftCapWidth = image.leftCapWidth();
    operation.topCapHeight = image.topCapHeight();
}

void RecordingContext::drawText(std::string_view text, const Rect& rect, const Font& font,
                                const Color& color, TextAlignment alignment, LineBreakMode mode) {
    RecordedOperation& operation = record(Kind::DrawText);
    operation.text = std::string(text);
    operation.rect = rect;
    operation.font = font;
    operation.color = color;
    operation.alignment = alignment;
    operation.lineBreakMode = mode;
}

void RecordingContext::beginTransparencyLayer() { record(Kind::BeginTransparencyLayer); }

void RecordingContext::beginTransparencyLayer(const Rect& area) {
    record(Kind::BeginTransparencyLayer).rect = area;
}

void RecordingContext::endTransparencyLayer() { record(Kind::EndTransparencyLayer); }

} // namespace graphics
