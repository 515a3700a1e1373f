#pragma once

#include "platform/graphics/Forward.h"
#include "platform/graphics/Geometry.h"

#include <string_view>

namespace graphics {

// What views draw with. Coordinates are points with the origin at the top left and y growing
// downward. The state (colours, line width, antialiasing, alpha, transform, clip) is saved and
// restored as a stack; the current path is not part of that state, and filling, stroking or
// clipping to it consumes it. Rectangle, gradient, image and text operations leave the
// current path alone.
class Context {
public:
    virtual ~Context() = default;

    virtual void saveGState() = 0;
    virtual void restoreGState() = 0;

    // Colours are saturated into [0, 1] when they are drawn, not when they are set.
    virtual void setFillColor(const Color& color) = 0;
    virtual void setStrokeColor(const Color& color) = 0;
    virtual void setLineWidth(float width) = 0;
    virtual void setShouldAntialias(bool antialias) = 0;
    // Multiplies the opacity of everything drawn afterwards.
    virtual void setAlpha(float alpha) = 0;

    virtual void concatCTM(const AffineTransform& transform) = 0;
    void translate(float tx, float ty);
    void scale(float sx, float sy);
    void rotate(float angle);

    virtual void fillRect(const Rect& rect) = 0;
    virtual void strokeRect(const Rect& rect) = 0;

    virtual void beginPath() = 0;
    virtual void moveTo(Point point) = 0;
    virtual void lineTo(Point point) = 0;
    // An arc about center from startAngle to endAngle (radians, measured from +x toward +y).
    // With the platform's flipped view coordinates, clockwise = false sweeps with increasing
    // angle, which looks clockwise on screen. A line joins the current point to the start.
    virtual void addArc(Point center, float radius, float startAngle, float endAngle,
                        bool clockwise) = 0;
    // A corner of the given radius tangent to the lines current point → p1 and p1 → p2.
    virtual void addArcToPoint(Point p1, Point p2, float radius) = 0;
    virtual void closePath() = 0;
    // A closed rounded rectangle, starting at the top edge; the radius is limited to half
    // the shorter side.
    virtual void addRoundedRect(const Rect& rect, float radius);

    virtual void fillPath() = 0;
    virtual void strokePath() = 0;
    virtual void clipToPath() = 0;
    virtual void clipToRect(const Rect& rect) = 0;

    virtual void drawLinearGradient(const Gradient& gradient, Point start, Point end,
                                    GradientOptions options) = 0;

    // Stretched to fill rect, upright; a stretchable image is drawn as a nine-slice.
    virtual void drawImage(const Image& image, const Rect& rect) = 0;
    void drawImage(const Image& image, Point origin);

    // Lines that do not fit the rectangle's height are not drawn (at least one always is).
    virtual void drawText(std::string_view text, const Rect& rect, const Font& font,
                          const Color& color, TextAlignment alignment, LineBreakMode mode) = 0;

    // Drawing between these is composited as one group, with the alpha set when it began,
    // so overlapping parts of a translucent layer do not show through each other.
    virtual void beginTransparencyLayer() = 0;
    // The same, for drawing that stays inside area (in current coordinates): the group only
    // covers area's box in whole pixels, and what falls outside it is left out.
    virtual void beginTransparencyLayer(const Rect& area) = 0;
    virtual void endTransparencyLayer() = 0;
};

} // namespace graphics
