#pragma once

#include "ads/render/SingleAdView.h"
#include "platform/foundation/Date.h"
#include "platform/graphics/Color.h"

#include <optional>
#include <string>
#include <vector>

namespace graphics {
class Context;
class Image;
} // namespace graphics

namespace pennant {

// The classic banner: a text ad (a bevelled tile, the text and an attribution line on a shine
// gradient, an action icon at the right) or a whole image ad. A tap on it is a click.
class OldSchoolSingleAdView : public SingleAdView {
    UI_CREATABLE(OldSchoolSingleAdView)
    std::string className() const override { return "OldSchoolSingleAdView"; }
    // A text banner's ad text.
    std::optional<std::string> dumpText() const override;

    void setAd(std::shared_ptr<Ad> ad) override;
    // Replaces the click animation view by an image view of the icon at the right edge.
    virtual void setActionIcon(const std::shared_ptr<graphics::Image>& icon);

    void drawRect(graphics::Context& context, const graphics::Rect& rect) override;
    void drawShineBackgroundWithBaseColor(graphics::Context& context,
                                          const graphics::Color& color) const;

    bool touchIsInSelf(const ui::Touch& touch) const;
    // Seconds since the view first drew a ready ad; 0 before that.
    double timeIntervalSinceFirstRender() const;
    // Hands the recorded touches to the controller and starts a fresh record.
    virtual void clickDidHappen();
    const std::vector<std::string>& storedTouches() const { return storedTouches_; }

    void touchesBegan(const ui::TouchSet& touches, const ui::Event& event) override;
    void touchesMoved(const ui::TouchSet& touches, const ui::Event& event) override;
    void touchesEnded(const ui::TouchSet& touches, const ui::Event& event) override;
    void touchesCancelled(const ui::TouchSet& touches, const ui::Event& event) override;

    // The tile: the image with a rounded clip and an engraved frame one point larger.
    static graphics::Size sizeWithBevelsAndRoundedCornersForImage(const graphics::Image& image);
    static void drawImageWithBevelsAndRoundedCorners(graphics::Context& context,
                                                     const graphics::Image& image,
                                                     graphics::Point point, float radius);
    static void drawTileImage(graphics::Context& context, const graphics::Image& image,
                              const graphics::Rect& rect);
    static graphics::Rect rectForTileImage(const graphics::Image& image,
                                           const graphics::Rect& container);

protected:
    explicit OldSchoolSingleAdView(const graphics::Rect& frame = {});

    std::optional<foundation::Date> dateOfFirstRender_;

private:
    void drawTextBanner(graphics::Context& context) const;
    void recordTouch(const ui::Touch& touch, bool isTouchEnd);

    std::vector<std::string> storedTouches_;
};

} // namespace pennant
