#pragma once

#include "ads/render/TouchRecordingElement.h"
#include "platform/graphics/Color.h"
#include "platform/ui/View.h"

namespace graphics {
class Image;
}

namespace pennant {

// A flex ad's image element: the image stretched over the bounds or, bevelled, inset by the
// bevel width with rounded corners inside a rounded outline. It records its touches.
class ImageView : public TouchRecordingElement<ui::View> {
    UI_CREATABLE(ImageView)
    static constexpr graphics::Color kDefaultBevelDarkColor =
        graphics::Color::colorWithWhite(0.4f, 1);

    std::string className() const override { return "ImageView"; }

    const std::shared_ptr<graphics::Image>& image() const { return image_; }
    void setImage(std::shared_ptr<graphics::Image> image);
    bool isBeveled() const { return beveled_; }
    void setBeveled(bool beveled);
    float bevelRadius() const { return bevelRadius_; }
    void setBevelRadius(float radius);
    float bevelWidth() const { return bevelWidth_; }
    void setBevelWidth(float width);
    // Kept for the format's sake; the drawing does not use it.
    float bevelCornerMeetingPoint() const { return bevelCornerMeetingPoint_; }
    void setBevelCornerMeetingPoint(float point) { bevelCornerMeetingPoint_ = point; }
    graphics::Color bevelDarkColor() const { return bevelDarkColor_; }
    void setBevelDarkColor(graphics::Color color);

    void drawRect(graphics::Context& context, const graphics::Rect& rect) override;

protected:
    explicit ImageView(const graphics::Rect& frame = {});

private:
    void drawBeveled(graphics::Context& context) const;

    std::shared_ptr<graphics::Image> image_;
    bool beveled_ = false;
    float bevelRadius_ = 6.5f;
    float bevelWidth_ = 0.5f;
    float bevelCornerMeetingPoint_ = 0.5f;
    graphics::Color bevelDarkColor_ = kDefaultBevelDarkColor;
};

} // namespace pennant
