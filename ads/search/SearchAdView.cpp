#include "ads/search/SearchAdView.h"

#include "ads/request/Ad.h"
#include "ads/request/AdDelegate.h"
#include "ads/request/Localizer.h"
#include "ads/search/SearchBar.h"
#include "platform/graphics/CairoContext.h"
#include "platform/graphics/Font.h"
#include "platform/graphics/Image.h"
#include "platform/graphics/LineBreakMode.h"
#include "platform/graphics/TextAlignment.h"
#include "platform/ui/Compositor.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/SearchBar.h"

namespace pennant {

using graphics::Rect;
using graphics::Size;

void SearchAdView::setAd(std::shared_ptr<Ad> ad) {
    OldSchoolSingleAdView::setAd(ad);
    searchAdImage_.reset();
    if (ad)
        prepareSearchAdImage(*ad);
}

void SearchAdView::prepareSearchAdImage(const Ad& ad) {
    const float width = bounds().width(), height = bounds().height();
    const auto font = graphics::Font::named("Helvetica", kBrandFontSize)
                          .value_or(graphics::Font::systemFont(kBrandFontSize));
    const std::string brand = Localizer::sharedLocalizer().localizedStringForKey("Ads by Pennant");
    const Size brandSize = font.sizeOfText(brand, Size{kBrandMaxWidth, height});
    brandRect_ = Rect(width - kMargin - brandSize.width, (height - brandSize.height) * 0.5f,
                      brandSize.width, brandSize.height * 2.2f);
    const float barLeft = ad.userImage() ? rectForTileImage(*ad.userImage(), bounds()).maxX() : 0;
    barRect_ = Rect(barLeft, 0, width - barLeft - brandSize.width - kMargin, height);

    auto bar = ui::SearchBar::create(Rect(0, 0, barRect_.width(), barRect_.height()));
    bar->setTintColor(ad.backgroundColor());
    bar->setPlaceholder(ad.text().value_or(""));
    const auto barPicture = ui::Compositor::renderLayerImage(*bar->layer());

    graphics::CairoContext context(bounds().size);
    if (ad.userImage()) {
        const auto background = SearchBar::tileImageViewWithFrame(bounds(), *ad.userImage(), *bar);
        context.drawImage(*background->image(), graphics::Point{0, 0});
    }
    if (barPicture)
        context.drawImage(*barPicture, barRect_);
    context.drawText(brand, brandRect_, font, ad.textColor(), graphics::TextAlignment::Left,
                     graphics::LineBreakMode::WordWrap);
    searchAdImage_ = context.makeImage();
}

void SearchAdView::drawRect(graphics::Context& context, const Rect&) {
    const auto& shown = ad();
    if (!dateOfFirstRender_)
        dateOfFirstRender_ = foundation::Date::now();
    if (searchAdImage_)
        context.drawImage(*searchAdImage_, graphics::Point{0, 0});
    if (shown)
        shown->loadAccountingPixel();
}

void SearchAdView::clickDidHappen() {
    const auto shown = ad();
    if (!shown)
        return;
    const auto owner = shown->adDelegate();
    if (!owner)
        return;
    owner->displaySearchWithAd(*shown,
                               shown->searchPlaceholder().value_or(shown->text().value_or("")),
                               shown->searchHelpURL().value_or(""));
}

} // namespace pennant
