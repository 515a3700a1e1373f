#include "app/AdViewController.h"

#include "ads/banner/View.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/ui/Application.h"
#include "platform/ui/View.h"

namespace kessa {

using graphics::Color;

void AdViewController::awakeFromNib() {
    self_ = std::static_pointer_cast<AdViewController>(shared_from_this());
    std::weak_ptr<AdViewController> weak = self_;
    terminating_ = foundation::NotificationCenter::defaultCenter().addObserver(
        ui::Application::kWillTerminateNotification, nullptr, [weak](const auto&) {
            if (auto self = weak.lock())
                self->self_.reset();
        });
    view()->setHidden(true);
    pennantAd_ = pennant::View::requestAdWithDelegate(weak);
}

std::optional<Color> AdViewController::adBackgroundColor() {
    return Color(0.776f, 0.161f, 0.098f, 1.0f);
}

std::optional<Color> AdViewController::primaryTextColor() { return Color::whiteColor(); }

std::optional<Color> AdViewController::secondaryTextColor() { return Color::whiteColor(); }

void AdViewController::didReceiveAd(pennant::View&) {
    foundation::log("Pennant: Did receive ad");
    const auto area = view();
    area->setHidden(false);
    if (pennantAd_) {
        pennantAd_->setFrame(area->convertRectFromView(area->frame(), area->superview().get()));
        area->addSubview(pennantAd_);
    }
    std::weak_ptr<AdViewController> weak =
        std::static_pointer_cast<AdViewController>(shared_from_this());
    refreshTimer_.start(foundation::Seconds(kRefreshSeconds), true, [weak] {
        if (auto self = weak.lock())
            self->refreshAd();
    });
}

void AdViewController::didFailToReceiveAd(pennant::View&) {
    foundation::log("Pennant: Did fail to receive ad");
    pennantAd_.reset();
}

void AdViewController::refreshAd() {
    if (pennantAd_)
        pennantAd_->requestFreshAd();
}

} // namespace kessa
