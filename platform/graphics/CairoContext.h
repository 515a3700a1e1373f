#pragma once

#include "platform/graphics/Context.h"

#include <cstdint>
#include <memory>

namespace graphics {

// The raster backend: premultiplied ARGB pixels, one per point.
class CairoContext final : public Context {
public:
    // A new transparent bitmap, the size rounded up to whole pixels; also serves as the
    // platform's image context: draw, then makeImage().
    explicit CairoContext(Size size);
    // Draws into pixels the caller owns and keeps alive (a window's frame buffer, say).
    // strideBytes is the distance between rows and must be a multiple of 4.
    CairoContext(std::uint32_t* pixels, int width, int height, int strideBytes);
    ~CairoContext() override;
    CairoContext(const CairoContext&) = delete;
    CairoContext& operator=(const CairoContext&) = delete;

    int pixelWidth() const;
    int pixelHeight() const;
    // A copy of the pixels drawn so far; nullptr for an empty bitmap.
    std::shared_ptr<Image> makeImage() const;

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
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace graphics
