#include "ads/banner/View.h"

#include "ads/banner/Controller.h"
#include "ads/request/Version.h"

namespace pennant {

View::View(const graphics::Rect& frame) : ui::View(frame) {}

std::shared_ptr<View> View::requestAdWithDelegate(std::weak_ptr<Delegate> delegate) {
    auto banner = create(graphics::Rect(0, 0, 320, 48));
    banner->setAutoresizingMask(
        banner->autoresizingMask() &
        ~unsigned(ui::AutoresizingFlexibleWidth | ui::AutoresizingFlexibleHeight));
    banner->setBackgroundColor(graphics::Color::clearColor());
    auto controller = Controller::create();
    controller->setView(banner);
    controller->setDelegate(std::move(delegate));
    banner->setController(controller);
    controller->startFirstAdRequest();
    return banner;
}

std::string View::version() { return std::string(kVersion); }

void View::requestFreshAd() {
    if (controller_)
        controller_->requestFreshAd();
}

void View::setController(std::shared_ptr<Controller> controller) {
    controller_ = std::move(controller);
}

} // namespace pennant
