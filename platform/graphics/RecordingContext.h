#pragma once

#include "platform/graphics/Context.h"
#include "platform/graphics/RecordedOperation.h"

#include <string>
#include <vector>

namespace graphics {

// The test backend: keeps every call with its arguments instead of drawing, so a test can
// check what was drawn where, or compare dump() with a stored expectation.
class RecordingContext final : public Context {
public:
    const std::vector<RecordedOperation>& operations() const { return operations_; }
    // Every operation of one kind, in order.
    std::vector<RecordedOperation> operationsOfKind(RecordedOperation::Kind kind) const;
    // One describe() line per operation.
    std::string dump() const;
    void clear() { operations_.clear(); }

    void saveGState() override;
    void restoreGState() override;
    void setFillColor(const Color& color) override;
    void setStrokeColor(const Color& color) override;
    void setLineWidth(float width) override;
    void setShouldAntialias(bool antialias) override;
    void setAlpha(float alpha) override;
    void concatCTM(const AffineTransform& transform) override;
    void fillRect(const Rect& rect) override;
    void strokeRect(const Rect& rect) override;
    void beginPath() override;
    void moveTo(Point point) override;
    void lineTo(Point point) override;
    void addArc(Point center, float radius, float startAngle, float endAngle,
                bool clockwise) override;
    void addArcToPoint(Point p1, Point p2, float radius) override;
    void closePath() override;
    void addRoundedRect(const Rect& rect, float radius) override;
    void fillPath() override;
    void strokePath() override;
    void clipToPath() override;
    void clipToRect(const Rect& rect) override;
    void drawLinearGradient(const Gradient& gradient, Point start, Point end,
                            GradientOptions options) override;
    using Context::drawImage;
    void drawImage(const Image& image, const Rect& rect) override;
    void drawText(std::string_view text, const Rect& rect, const Font& font, const Color& color,
                  TextAlignment alignment, LineBreakMode mode) override;
    void beginTransparencyLayer() override;
    void beginTransparencyLayer(const Rect& area) override;
    void endTransparencyLayer() override;

private:
    RecordedOperation& record(RecordedOperation::Kind kind);

    std::vector<RecordedOperation> operations_;
};

} // namespace graphics
