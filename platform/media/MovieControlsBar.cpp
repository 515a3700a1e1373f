#include "platform/media/MovieControlsBar.h"

#include "platform/graphics/Color.h"
#include "platform/graphics/Font.h"
#include "platform/ui/Button.h"

namespace media {

namespace {

constexpr float kButtonWidth = 60;
constexpr float kButtonHeight = 30;
constexpr float kMargin = 7;

} // namespace

std::shared_ptr<MovieControlsBar> MovieControlsBar::create(const graphics::Rect& frame,
                                                           std::function<void()> onDone) {
    std::shared_ptr<MovieControlsBar> bar(new MovieControlsBar(frame, std::move(onDone)));
    bar->addSubview(bar->done_);
    return bar;
}

MovieControlsBar::MovieControlsBar(const graphics::Rect& frame, std::function<void()> onDone)
    : View(frame),
      done_(ui::Button::create(graphics::Rect(kMargin, kMargin, kButtonWidth, kButtonHeight))) {
    setBackgroundColor(graphics::Color(0, 0, 0, 0.6f));
    setOpaque(false);
    setAutoresizingMask(ui::AutoresizingFlexibleWidth | ui::AutoresizingFlexibleBottomMargin);
    done_->setTitle("Done", ui::ControlStateNormal);
    done_->setTitleColor(graphics::Color::whiteColor(), ui::ControlStateNormal);
    done_->setTitleColor(graphics::Color::colorWithWhite(0.7f, 1), ui::ControlStateHighlighted);
    done_->setFont(graphics::Font::boldSystemFont(15));
    done_->setBackgroundColor(graphics::Color(0.25f, 0.35f, 0.6f, 1));
    done_->addTarget(ui::ControlEventTouchUpInside, std::move(onDone));
}

} // namespace media
