#pragma once

#include "platform/ui/View.h"

namespace graphics {
class Image;
}

namespace ui {

// Shows one image placed by the view's content mode.
class ImageView : public View {
    UI_CREATABLE(ImageView)
    std::string className() const override { return "ImageView"; }

    std::shared_ptr<graphics::Image> image() const { return image_; }
    void setImage(std::shared_ptr<graphics::Image> image);
    // Where the image lands in the bounds for the current content mode.
    graphics::Rect imageRect() const;
    void drawRect(graphics::Context& context, const graphics::Rect& rect) override;

protected:
    explicit ImageView(const graphics::Rect& frame = {});
    explicit ImageView(std::shared_ptr<graphics::Image> image);

private:
    std::shared_ptr<graphics::Image> image_;
};

} // namespace ui
