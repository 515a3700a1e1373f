#pragma once

#include "platform/ui/View.h"

#include <memory>
#include <string>

namespace graphics {
class Image;
}
namespace ui {
class ImageView;
class SearchBar;
class SearchBarDelegate;
} // namespace ui

namespace pennant {

// The live search field at the top of the search screen: the platform search bar to the right
// of the ad's tile, on a background that continues the bar's own left edge, so the screen's top
// bar looks like the banner that was tapped.
class SearchBar : public ui::View {
public:
    // Without a tile the platform bar fills the whole frame.
    static std::shared_ptr<SearchBar> create(const graphics::Rect& frame,
                                             std::shared_ptr<graphics::Image> tileImage);
    std::string className() const override { return "PennantSearchBar"; }

    // The platform bar's delegate calls reach the delegate with the platform bar.
    void setDelegate(std::weak_ptr<ui::SearchBarDelegate> delegate);
    const std::string& text() const;
    void setText(std::string text);
    const std::string& placeholder() const;
    void setPlaceholder(std::string placeholder);
    void setShowsCancelButton(bool shows);
    bool canBecomeFirstResponder() const override { return true; }
    bool becomeFirstResponder() override;
    bool resignFirstResponder() override;

    const std::shared_ptr<ui::SearchBar>& searchBar() const { return searchBar_; }
    const std::shared_ptr<ui::ImageView>& tileImageView() const { return tileImageView_; }

    // The platform bar's leftmost column repeated over the frame, with the tile drawn on top.
    static std::shared_ptr<ui::ImageView> tileImageViewWithFrame(const graphics::Rect& frame,
                                                                 const graphics::Image& image,
                                                                 ui::SearchBar& searchBar);

protected:
    explicit SearchBar(const graphics::Rect& frame) : View(frame) {}

private:
    std::shared_ptr<ui::SearchBar> searchBar_;
    std::shared_ptr<ui::ImageView> tileImageView_;
};

} // namespace pennant
