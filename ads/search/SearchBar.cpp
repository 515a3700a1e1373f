#include "ads/search/SearchBar.h"

#include "ads/render/OldSchoolSingleAdView.h"
#include "platform/graphics/CairoContext.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Compositor.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/SearchBar.h"

namespace pennant {

using graphics::Rect;

std::shared_ptr<SearchBar> SearchBar::create(const Rect& frame,
                                             std::shared_ptr<graphics::Image> tileImage) {
    std::shared_ptr<SearchBar> bar(new SearchBar(frame));
    const Rect whole(0, 0, frame.width(), frame.height());
    const float x =
        tileImage ? OldSchoolSingleAdView::rectForTileImage(*tileImage, whole).maxX() : 0;
    bar->searchBar_ = ui::SearchBar::create(Rect(x, 0, whole.width() - x, whole.height()));
    // Tinted before the background is cut from it, so the two match.
    bar->searchBar_->setTintColor(graphics::Color::blackColor());
    if (tileImage) {
        bar->tileImageView_ = tileImageViewWithFrame(whole, *tileImage, *bar->searchBar_);
        bar->addSubview(bar->tileImageView_);
    }
    bar->addSubview(bar->searchBar_);
    bar->searchBar_->setAutoresizingMask(ui::AutoresizingFlexibleWidth);
    bar->searchBar_->setShowsCancelButton(true);
    return bar;
}

std::shared_ptr<ui::ImageView> SearchBar::tileImageViewWithFrame(const Rect& frame,
                                                                 const graphics::Image& image,
                                                                 ui::SearchBar& searchBar) {
    const auto picture = ui::Compositor::renderLayerImage(*searchBar.layer());
    graphics::CairoContext context(frame.size);
    if (picture && picture->pixelWidth() > 0) {
        const int height = picture->pixelHeight();
        std::vector<std::uint32_t> column(static_cast<std::size_t>(height));
        for (int y = 0; y < height; ++y)
            column[static_cast<std::size_t>(y)] =
                picture->pixels()[static_cast<std::size_t>(y) * picture->pixelWidth()];
        const auto edge = graphics::Image::fromPixels(1, height, std::move(column));
        for (int i = 0; edge && i < frame.width(); ++i)
            context.drawImage(*edge, Rect(float(i), 0, 1, float(height)));
    }
    OldSchoolSingleAdView::drawTileImage(context, image,
                                         OldSchoolSingleAdView::rectForTileImage(image, frame));
    auto view = ui::ImageView::create(frame);
    view->setImage(context.makeImage());
    return view;
}

void SearchBar::setDelegate(std::weak_ptr<ui::SearchBarDelegate> delegate) {
    searchBar_->setDelegate(std::move(delegate));
}

const std::string& SearchBar::text() const { return searchBar_->text(); }

void SearchBar::setText(std::string text) { searchBar_->setText(std::move(text)); }

const std::string& SearchBar::placeholder() const { return searchBar_->placeholder(); }

void SearchBar::setPlaceholder(std::string placeholder) {
    searchBar_->setPlaceholder(std::move(placeholder));
}

void SearchBar::setShowsCancelButton(bool shows) { searchBar_->setShowsCancelButton(shows); }

bool SearchBar::becomeFirstResponder() { return searchBar_->becomeFirstResponder(); }

bool SearchBar::resignFirstResponder() { return searchBar_->resignFirstResponder(); }

} // namespace pennant
