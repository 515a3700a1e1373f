#include "ads/render/ImageView.h"

#include "platform/graphics/Context.h"
#include "platform/graphics/Image.h"

namespace pennant {

using graphics::Rect;

ImageView::ImageView(const Rect& frame) : TouchRecordingElement(frame) {
    setOpaque(false);
    setBackgroundColor(graphics::Color::clearColor());
}

void ImageView::setImage(std::shared_ptr<graphics::Image> image) {
    image_ = std::move(image);
    setNeedsDisplay();
}

void ImageView::setBeveled(bool beveled) {
    beveled_ = beveled;
    setNeedsDisplay();
}

void ImageView::setBevelRadius(float radius) {
    bevelRadius_ = radius;
    setNeedsDisplay();
}

void ImageView::setBevelWidth(float width) {
    bevelWidth_ = width;
    setNeedsDisplay();
}

void ImageView::setBevelDarkColor(graphics::Color color) {
    bevelDarkColor_ = color;
    setNeedsDisplay();
}

void ImageView::drawRect(graphics::Context& context, const Rect&) {
    if (beveled_)
        drawBeveled(context);
    else if (image_)
        context.drawImage(*image_, bounds());
}

void ImageView::drawBeveled(graphics::Context& context) const {
    const Rect& b = bounds();
    const float width = bevelWidth_;
    const Rect inner(b.minX() + width, b.minY() + width, b.width() - 2 * width,
                     b.height() - 2 * width);
    if (image_) {
        // The image sits exactly on the inner rectangle, its corners rounded one bevel
        // width wider than the outline's so that the outline's inner edge meets them.
        context.saveGState();
        context.beginPath();
        context.addRoundedRect(inner, bevelRadius_ + width);
        context.clipToPath();
        context.drawImage(*image_, inner);
        context.restoreGState();
    }
    context.setLineWidth(width);
    context.setStrokeColor(bevelDarkColor_);
    context.beginPath();
    context.addRoundedRect(
        Rect(b.minX() + width / 2, b.minY() + width / 2, b.width() - width, b.height() - width),
        bevelRadius_);
    context.strokePath();
}

} // namespace pennant
