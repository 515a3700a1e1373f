#include "ads/render/OldSchoolSingleAdView.h"

#include "ads/render/AdClickHandler.h"
#include "ads/render/ShineView.h"
#include "ads/request/Ad.h"
#include "ads/request/Localizer.h"
#include "platform/graphics/Context.h"
#include "platform/graphics/Font.h"
#include "platform/graphics/Image.h"
#include "platform/graphics/LineBreakMode.h"
#include "platform/graphics/TextAlignment.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Touch.h"

#include <numbers>

namespace pennant {

using graphics::Color;
using graphics::Context;
using graphics::Image;
using graphics::Point;
using graphics::Rect;
using graphics::Size;

namespace {

constexpr float kMargin = 4.0f;
constexpr float kTextGap = 8.0f;
constexpr float kTileRadius = 6.5f;
constexpr float kAttributionGap = 4.0f;
// Taller text leaves no room for the attribution line.
constexpr float kTallestTextWithAttribution = 24.0f;
constexpr Color kBevelDark = Color::colorWithWhite(0.4f, 1);
constexpr Color kBevelLight = Color::colorWithWhite(0.937f, 1);
// The top edge is half base colour, half white; below 43.75 % it is all base colour.
constexpr float kShineInitialAlpha = 0.5f;
constexpr float kShineEnd = 0.4375f;

graphics::Font fontNamed(const char* name, float size) {
    return graphics::Font::named(name, size).value_or(graphics::Font::systemFont(size));
}

} // namespace

OldSchoolSingleAdView::OldSchoolSingleAdView(const Rect& frame) : SingleAdView(frame) {}

void OldSchoolSingleAdView::setAd(std::shared_ptr<Ad> ad) {
    SingleAdView::setAd(ad);
    setActionIcon(ad ? ad->actionImage() : nullptr);
}

void OldSchoolSingleAdView::setActionIcon(const std::shared_ptr<Image>& icon) {
    if (auto old = clickAnimationView())
        old->removeFromSuperview();
    if (!icon) {
        setClickAnimationView(nullptr);
        return;
    }
    auto iconView = ui::ImageView::create(icon);
    const Size size = icon->size();
    iconView->setFrame(Rect(bounds().width() - kMargin - size.width,
                            (bounds().height() - size.height) * 0.5f, size.width, size.height));
    addSubview(iconView);
    setClickAnimationView(iconView);
}

std::optional<std::string> OldSchoolSingleAdView::dumpText() const {
    const auto& shown = ad();
    if (!shown || shown->medium() != Ad::kTextBanner)
        return std::nullopt;
    return shown->text();
}

void OldSchoolSingleAdView::drawRect(Context& context, const Rect&) {
    const auto& shown = ad();
    if (!shown || !shown->readyForDisplay())
        return;
    if (!dateOfFirstRender_)
        dateOfFirstRender_ = foundation::Date::now();
    if (shown->medium() == Ad::kImageBanner) {
        if (shown->userImage())
            context.drawImage(*shown->userImage(), Point{0, 0});
        shown->loadAccountingPixel();
        return;
    }
    drawShineBackgroundWithBaseColor(context, shown->backgroundColor());
    if (shown->medium() == Ad::kTextBanner)
        drawTextBanner(context);
}

void OldSchoolSingleAdView::drawTextBanner(Context& context) const {
    const Ad& shown = *ad();
    const float width = bounds().width(), height = bounds().height();
    // Without a tile the layout keeps the one-point frame of an empty one.
    Size tileSize{1, 1};
    if (const auto& tile = shown.userImage()) {
        tileSize = sizeWithBevelsAndRoundedCornersForImage(*tile);
        drawImageWithBevelsAndRoundedCorners(
            context, *tile, Point{kMargin, (height - tileSize.height) * 0.5f}, kTileRadius);
    }
    const float textLeft = tileSize.width + kMargin + kTextGap;
    const float iconWidth = shown.actionImage() ? shown.actionImage()->size().width : 0;
    const float rightLimit = width - kMargin - iconWidth - kTextGap;
    const std::string text = shown.text().value_or("");
    const auto textFont = fontNamed("Helvetica-Bold", 13.0f);
    const Size textSize = textFont.sizeOfText(text, Size{rightLimit - textLeft, height});

    std::optional<std::string> attribution;
    Size attributionSize;
    float blockHeight = textSize.height;
    const auto attributionFont = fontNamed("Helvetica", 9.5f);
    if (textSize.height <= kTallestTextWithAttribution) {
        attribution = Localizer::sharedLocalizer().localizedStringForKey("Ads by Pennant");
        attributionSize = attributionFont.sizeOfText(*attribution);
        blockHeight += kAttributionGap + attributionSize.height;
    }
    const float top = (height - blockHeight) * 0.5f;
    const Color color = shown.textColor();
    context.drawText(text, Rect(textLeft, top, textSize.width, textSize.height), textFont, color,
                     graphics::TextAlignment::Left, graphics::LineBreakMode::WordWrap);
    if (attribution)
        context.drawText(*attribution,
                         Rect(rightLimit - attributionSize.width,
                              top + textSize.height + kAttributionGap, attributionSize.width,
                              attributionSize.height),
                         attributionFont, color, graphics::TextAlignment::Left,
                         graphics::LineBreakMode::WordWrap);
}

void OldSchoolSingleAdView::drawShineBackgroundWithBaseColor(Context& context,
                                                             const Color& color) const {
    ShineView::drawShineBackground(context, bounds(), color, kShineInitialAlpha, kShineEnd);
}

Size OldSchoolSingleAdView::sizeWithBevelsAndRoundedCornersForImage(const Image& image) {
    return Size{image.size().width + 1.0f, image.size().height + 1.0f};
}

void OldSchoolSingleAdView::drawImageWithBevelsAndRoundedCorners(Context& context,
                                                                 const Image& image, Point point,
                                                                 float radius) {
    const float w = image.size().width, h = image.size().height;
    context.saveGState();
    context.beginPath();
    context.addRoundedRect(Rect(point.x + 0.5f, point.y + 0.5f, w, h), radius + 0.5f);
    context.clipToPath();
    context.drawImage(image, point);
    context.restoreGState();

    // The frame is stroked in two runs that meet at the 45-degree points of the top-right and
    // bottom-left corners: dark over the top and left, light over the bottom and right.
    const float left = point.x + 0.25f, top = point.y + 0.25f;
    const float right = point.x + w + 0.75f, bottom = point.y + h + 0.75f;
    constexpr float pi = std::numbers::pi_v<float>;
    context.setLineWidth(0.5f);
    context.setStrokeColor(kBevelDark);
    context.beginPath();
    context.addArc(Point{left + radius, bottom - radius}, radius, pi * 0.75f, pi, false);
    context.addArc(Point{left + radius, top + radius}, radius, pi, pi * 1.5f, false);
    context.addArc(Point{right - radius, top + radius}, radius, pi * 1.5f, pi * 1.75f, false);
    context.strokePath();
    context.setStrokeColor(kBevelLight);
    context.beginPath();
    context.addArc(Point{right - radius, top + radius}, radius, pi * 1.75f, pi * 2.0f, false);
    context.addArc(Point{right - radius, bottom - radius}, radius, 0, pi * 0.5f, false);
    context.addArc(Point{left + radius, bottom - radius}, radius, pi * 0.5f, pi * 0.75f, false);
    context.strokePath();
}

void OldSchoolSingleAdView::drawTileImage(Context& context, const Image& image, const Rect& rect) {
    drawImageWithBevelsAndRoundedCorners(context, image, rect.origin, kTileRadius);
}

Rect OldSchoolSingleAdView::rectForTileImage(const Image& image, const Rect& container) {
    const Size size = sizeWithBevelsAndRoundedCornersForImage(image);
    return Rect(6.0f, (container.height() - size.height) * 0.5f, size.width, size.height);
}

bool OldSchoolSingleAdView::touchIsInSelf(const ui::Touch& touch) const {
    return bounds().contains(touch.locationInView(this));
}

double OldSchoolSingleAdView::timeIntervalSinceFirstRender() const {
    return dateOfFirstRender_ ? -dateOfFirstRender_->timeIntervalSinceNow() : 0.0;
}

void OldSchoolSingleAdView::recordTouch(const ui::Touch& touch, bool isTouchEnd) {
    SingleAdView::recordTouch(touch, isTouchEnd, this, timeIntervalSinceFirstRender(),
                              storedTouches_);
}

void OldSchoolSingleAdView::clickDidHappen() {
    foundation::Value::Array records;
    for (const auto& record : storedTouches_)
        records.push_back(foundation::Value(record));
    storedTouches_.clear();
    if (auto handler = controller())
        handler->click(*this,
                       foundation::Dictionary{{"interactions", foundation::Value::array(records)}});
}

void OldSchoolSingleAdView::touchesBegan(const ui::TouchSet& touches, const ui::Event&) {
    setTouched(true);
    recordTouch(*touches.front(), false);
}

void OldSchoolSingleAdView::touchesMoved(const ui::TouchSet& touches, const ui::Event&) {
    setTouched(touchIsInSelf(*touches.front()));
}

void OldSchoolSingleAdView::touchesEnded(const ui::TouchSet& touches, const ui::Event&) {
    setTouched(false);
    recordTouch(*touches.front(), true);
    if (touchIsInSelf(*touches.front()))
        clickDidHappen();
}

void OldSchoolSingleAdView::touchesCancelled(const ui::TouchSet&, const ui::Event&) {
    setTouched(false);
}

} // namespace pennant
