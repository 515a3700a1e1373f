#pragma once

#include "ads/render/ShineView.h"

#include <memory>
#include <optional>
#include <string>

namespace graphics {
class Image;
}
namespace ui {
class ImageView;
class Label;
class Touch;
} // namespace ui

namespace pennant {

class Opener;
class VideoViewController;

// One action button of the video's bottom bar and end screen: an icon over a caption on the
// shine, a highlight while a finger is on it, and its own opener run when released inside.
class VideoPlayerButton : public ShineView {
    UI_CREATABLE(VideoPlayerButton)
    static constexpr float kCaptionFontSize = 11.5f;
    static constexpr float kCaptionMinimumFontSize = 9;

    std::string className() const override { return "PennantVideoPlayerButton"; }

    // The first frame lays the icon, caption and highlight out; later ones only move the button.
    void setFrame(const graphics::Rect& frame);
    // The largest square centred in a rectangle of that size (its origin is ignored).
    static graphics::Rect getSquare(const graphics::Rect& rect);

    void setHighlight(bool highlighted);
    bool isHighlighted() const;
    // Reports the press to the player, then runs the action.
    void buttonPressed();

    void setPlayer(std::weak_ptr<VideoViewController> player) { player_ = std::move(player); }
    const std::optional<std::string>& analyticsPageName() const { return analyticsPageName_; }
    void setAnalyticsPageName(std::optional<std::string> name) {
        analyticsPageName_ = std::move(name);
    }
    const std::shared_ptr<Opener>& opener() const { return opener_; }

    void touchesBegan(const ui::TouchSet& touches, const ui::Event& event) override;
    void touchesMoved(const ui::TouchSet& touches, const ui::Event& event) override;
    void touchesEnded(const ui::TouchSet& touches, const ui::Event& event) override;
    void touchesCancelled(const ui::TouchSet& touches, const ui::Event& event) override;

protected:
    VideoPlayerButton(std::shared_ptr<graphics::Image> icon, const std::string& caption,
                      std::shared_ptr<graphics::Image> highlight, std::shared_ptr<Opener> opener);

private:
    bool touchIsInSelf(const ui::TouchSet& touches) const;
    void layOut();

    std::weak_ptr<VideoViewController> player_;
    std::shared_ptr<ui::ImageView> iconView_;
    std::shared_ptr<ui::ImageView> highlightView_;
    std::shared_ptr<ui::Label> buttonLabel_;
    std::shared_ptr<Opener> opener_;
    std::optional<std::string> analyticsPageName_;
};

} // namespace pennant
