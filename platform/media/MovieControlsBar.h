#pragma once

#include "platform/ui/View.h"

#include <functional>

namespace ui {
class Button;
}

namespace media {

// The player's default controls: a translucent bar with a "Done" button, as tall as kHeight.
class MovieControlsBar : public ui::View {
public:
    static std::shared_ptr<MovieControlsBar> create(const graphics::Rect& frame,
                                                    std::function<void()> onDone);

    static constexpr float kHeight = 44;

    std::string className() const override { return "MovieControlsBar"; }
    const std::shared_ptr<ui::Button>& doneButton() const { return done_; }

protected:
    MovieControlsBar(const graphics::Rect& frame, std::function<void()> onDone);

private:
    std::shared_ptr<ui::Button> done_;
};

} // namespace media
