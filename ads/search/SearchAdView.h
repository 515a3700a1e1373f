#pragma once

#include "ads/render/OldSchoolSingleAdView.h"

#include <memory>
#include <string>

namespace pennant {

// The banner of a search ad: the ad's tile at the left, a search field showing the ad's text
// and the brand line at the right, drawn from one picture made when the ad is set. A tap opens
// the search screen instead of sending a click; the search itself is the click.
class SearchAdView : public OldSchoolSingleAdView {
    UI_CREATABLE(SearchAdView)
    static constexpr float kBrandFontSize = 9.5f;
    static constexpr float kBrandMaxWidth = 40.0f;
    static constexpr float kMargin = 4.0f;

    std::string className() const override { return "PennantSearchAdView"; }

    void setAd(std::shared_ptr<Ad> ad) override;
    // A search ad has no action icon.
    void setActionIcon(const std::shared_ptr<graphics::Image>&) override {}
    void drawRect(graphics::Context& context, const graphics::Rect& rect) override;
    void clickDidHappen() override;

    const std::shared_ptr<graphics::Image>& searchAdImage() const { return searchAdImage_; }
    // Where the search field and the brand line lie in the picture.
    graphics::Rect barRect() const { return barRect_; }
    graphics::Rect brandRect() const { return brandRect_; }

protected:
    explicit SearchAdView(const graphics::Rect& frame = {}) : OldSchoolSingleAdView(frame) {}

private:
    void prepareSearchAdImage(const Ad& ad);

    std::shared_ptr<graphics::Image> searchAdImage_;
    graphics::Rect barRect_;
    graphics::Rect brandRect_;
};

} // namespace pennant
