#include "platform/graphics/Context.h"

#include "platform/graphics/AffineTransform.h"
#include "platform/graphics/Image.h"

#include <algorithm>

namespace graphics {

void Context::translate(float tx, float ty) { concatCTM(AffineTransform::translation(tx, ty)); }

void Context::scale(float sx, float sy) { concatCTM(AffineTransform::scale(sx, sy)); }

void Context::rotate(float angle) { concatCTM(AffineTransform::rotation(angle)); }

void Context::addRoundedRect(const Rect& rect, float radius) {
    Rect r = rect.standardized();
    radius = std::clamp(radius, 0.0f, std::min(r.width(), r.height()) * 0.5f);
    moveTo({r.midX(), r.minY()});
    addArcToPoint({r.maxX(), r.minY()}, {r.maxX(), r.midY()}, radius);
    addArcToPoint({r.maxX(), r.maxY()}, {r.midX(), r.maxY()}, radius);
    addArcToPoint({r.minX(), r.maxY()}, {r.minX(), r.midY()}, radius);
    addArcToPoint({r.minX(), r.minY()}, {r.midX(), r.minY()}, radius);
    closePath();
}

void Context::drawImage(const Image& image, Point origin) {
    drawImage(image, Rect(origin, image.size()));
}

} // namespace graphics
