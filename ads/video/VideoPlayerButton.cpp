#include "ads/video/VideoPlayerButton.h"

#include "ads/request/Opener.h"
#include "ads/video/VideoViewController.h"
#include "platform/graphics/Font.h"
#include "platform/graphics/Image.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/Touch.h"

namespace pennant {

using graphics::Rect;

VideoPlayerButton::VideoPlayerButton(std::shared_ptr<graphics::Image> icon,
                                     const std::string& caption,
                                     std::shared_ptr<graphics::Image> highlight,
                                     std::shared_ptr<Opener> opener)
    : opener_(std::move(opener)) {
    // The shine's sheen would otherwise spill over everything above the button.
    setClipsToBounds(true);
    iconView_ = ui::ImageView::create(std::move(icon));
    highlightView_ = ui::ImageView::create(getSquare(bounds()));
    highlightView_->setOpaque(false);
    highlightView_->setBackgroundColor(graphics::Color::colorWithWhite(0, 0));
    highlightView_->setImage(std::move(highlight));
    highlightView_->setHidden(true);
    buttonLabel_ = ui::Label::create();
    buttonLabel_->setBackgroundColor(graphics::Color::colorWithWhite(0, 0));
    buttonLabel_->setTextAlignment(graphics::TextAlignment::Center);
    buttonLabel_->setTextColor(graphics::Color::whiteColor());
    buttonLabel_->setFont(graphics::Font::systemFont(kCaptionFontSize));
    buttonLabel_->setText(caption);
    buttonLabel_->setAdjustsFontSizeToFitWidth(true);
    buttonLabel_->setMinimumFontSize(kCaptionMinimumFontSize);
}

Rect VideoPlayerButton::getSquare(const Rect& rect) {
    const float side = rect.width() < rect.height() ? rect.width() : rect.height();
    return Rect((rect.width() - side) * 0.5f, (rect.height() - side) * 0.5f, side, side);
}

void VideoPlayerButton::setFrame(const Rect& frame) {
    ShineView::setFrame(frame);
    if (!iconView_->superview() && !highlightView_->superview() && !buttonLabel_->superview())
        layOut();
}

void VideoPlayerButton::layOut() {
    const auto font = graphics::Font::systemFont(kCaptionFontSize);
    const float line = font.ascender() - font.descender();
    const auto icon = iconView_->frame().size;
    const float width = bounds().width(), height = bounds().height();
    const float content = icon.height + line;
    // Truncated toward zero: an icon taller than the button rises above its top.
    const float iconX = float(int((width - icon.width) * 0.5f));
    const float iconY = float(int((height - content) * 0.5f));
    iconView_->setFrame(Rect(iconX, iconY, icon.width, icon.height));
    highlightView_->setFrame(getSquare(bounds()));
    buttonLabel_->setFrame(Rect(1, iconY + icon.height, width - 2, line));
    addSubview(highlightView_);
    addSubview(iconView_);
    addSubview(buttonLabel_);
}

void VideoPlayerButton::setHighlight(bool highlighted) { highlightView_->setHidden(!highlighted); }

bool VideoPlayerButton::isHighlighted() const { return !highlightView_->isHidden(); }

void VideoPlayerButton::buttonPressed() {
    auto protector = shared_from_this();
    if (auto player = player_.lock())
        player->recordButtonPress(analyticsPageName_);
    if (opener_)
        opener_->open();
}

bool VideoPlayerButton::touchIsInSelf(const ui::TouchSet& touches) const {
    return !touches.empty() && bounds().contains(touches.front()->locationInView(this));
}

void VideoPlayerButton::touchesBegan(const ui::TouchSet& touches, const ui::Event&) {
    if (touchIsInSelf(touches))
        setHighlight(true);
}

void VideoPlayerButton::touchesMoved(const ui::TouchSet& touches, const ui::Event&) {
    setHighlight(touchIsInSelf(touches));
}

void VideoPlayerButton::touchesEnded(const ui::TouchSet& touches, const ui::Event&) {
    const bool inside = touchIsInSelf(touches);
    setHighlight(false);
    if (inside)
        buttonPressed();
}

void VideoPlayerButton::touchesCancelled(const ui::TouchSet&, const ui::Event&) {
    setHighlight(false);
}

} // namespace pennant
