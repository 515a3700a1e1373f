#include "platform/media/MovieBackgroundView.h"

#include "platform/graphics/Image.h"
#include "platform/ui/ImageView.h"

namespace media {

namespace {

ui::ContentMode contentModeFor(MovieScalingMode mode) {
    switch (mode) {
    case MovieScalingMode::None:
        return ui::ContentMode::Center;
    case MovieScalingMode::AspectFit:
        return ui::ContentMode::ScaleAspectFit;
    case MovieScalingMode::AspectFill:
        return ui::ContentMode::ScaleAspectFill;
    case MovieScalingMode::Fill:
        return ui::ContentMode::ScaleToFill;
    }
    return ui::ContentMode::ScaleAspectFit;
}

} // namespace

std::shared_ptr<MovieBackgroundView> MovieBackgroundView::create(const graphics::Rect& frame) {
    std::shared_ptr<MovieBackgroundView> view(new MovieBackgroundView(frame));
    // A superview needs its owner, which the constructor does not have yet.
    view->addSubview(view->picture_);
    return view;
}

MovieBackgroundView::MovieBackgroundView(const graphics::Rect& frame)
    : View(frame), picture_(ui::ImageView::create(bounds())) {
    setClipsToBounds(true);
    setAutoresizingMask(ui::AutoresizingFlexibleWidth | ui::AutoresizingFlexibleHeight);
    picture_->setAutoresizingMask(ui::AutoresizingFlexibleWidth | ui::AutoresizingFlexibleHeight);
    picture_->setContentMode(contentModeFor(MovieScalingMode::AspectFit));
}

void MovieBackgroundView::setPicture(std::shared_ptr<const graphics::Image> picture) {
    // Images are immutable; the image view only wants shared ownership.
    picture_->setImage(std::const_pointer_cast<graphics::Image>(std::move(picture)));
}

void MovieBackgroundView::setScalingMode(MovieScalingMode mode) {
    picture_->setContentMode(contentModeFor(mode));
    picture_->setNeedsDisplay();
}

graphics::Rect MovieBackgroundView::pictureRect() const {
    return picture_->convertRectToView(picture_->imageRect(), this);
}

} // namespace media
