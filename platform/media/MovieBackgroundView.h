#pragma once

#include "platform/media/MovieScalingMode.h"
#include "platform/ui/View.h"

namespace graphics {
class Image;
}

namespace ui {
class ImageView;
}

namespace media {

// The player's movie surface: its background colour, with the current picture placed by the
// scaling mode on top. Clients find the player's window by this view's class name.
class MovieBackgroundView : public ui::View {
public:
    static std::shared_ptr<MovieBackgroundView> create(const graphics::Rect& frame);

    std::string className() const override { return "MPVideoBackgroundView"; }

    void setPicture(std::shared_ptr<const graphics::Image> picture);
    void setScalingMode(MovieScalingMode mode);
    // Where the picture lands, in this view's coordinates.
    graphics::Rect pictureRect() const;

protected:
    explicit MovieBackgroundView(const graphics::Rect& frame);

private:
    std::shared_ptr<ui::ImageView> picture_;
};

} // namespace media
