#include "platform/ui/ImageView.h"

#include "platform/graphics/Context.h"
#include "platform/graphics/Image.h"

#include <algorithm>

namespace ui {

using graphics::Rect;

ImageView::ImageView(const Rect& frame) : View(frame) {
    setUserInteractionEnabled(false);
    setOpaque(false);
}

ImageView::ImageView(std::shared_ptr<graphics::Image> image)
    : ImageView(image ? Rect({0, 0}, image->size()) : Rect()) {
    image_ = std::move(image);
}

void ImageView::setImage(std::shared_ptr<graphics::Image> image) {
    image_ = std::move(image);
    setNeedsDisplay();
}

Rect ImageView::imageRect() const {
    const Rect b = bounds();
    if (!image_)
        return b;
    const float w = image_->size().width, h = image_->size().height;
    if (w <= 0 || h <= 0)
        return b;
    const float fit = std::min(b.width() / w, b.height() / h),
                fill = std::max(b.width() / w, b.height() / h);
    auto centred = [&](float width, float height) {
        return Rect(b.midX() - width / 2, b.midY() - height / 2, width, height);
    };
    switch (contentMode()) {
    case ContentMode::ScaleToFill:
    case ContentMode::Redraw:
        return b;
    case ContentMode::ScaleAspectFit:
        return centred(w * fit, h * fit);
    case ContentMode::ScaleAspectFill:
        return centred(w * fill, h * fill);
    case ContentMode::Center:
        return centred(w, h);
    case ContentMode::Top:
        return Rect(b.midX() - w / 2, b.minY(), w, h);
    case ContentMode::Bottom:
        return Rect(b.midX() - w / 2, b.maxY() - h, w, h);
    case ContentMode::Left:
        return Rect(b.minX(), b.midY() - h / 2, w, h);
    case ContentMode::Right:
        return Rect(b.maxX() - w, b.midY() - h / 2, w, h);
    case ContentMode::TopLeft:
        return Rect(b.minX(), b.minY(), w, h);
    case ContentMode::TopRight:
        return Rect(b.maxX() - w, b.minY(), w, h);
    case ContentMode::BottomLeft:
        return Rect(b.minX(), b.maxY() - h, w, h);
    case ContentMode::BottomRight:
        return Rect(b.maxX() - w, b.maxY() - h, w, h);
    }
    return b;
}

void ImageView::drawRect(graphics::Context& context, const Rect&) {
    if (!image_)
        return;
    context.saveGState();
    if (contentMode() == ContentMode::ScaleAspectFill)
        context.clipToRect(bounds());
    context.drawImage(*image_, imageRect());
    context.restoreGState();
}

} // namespace ui
