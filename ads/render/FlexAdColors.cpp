#include "ads/render/FlexAdColors.h"

#include "ads/request/Delegate.h"
#include "platform/foundation/Singleton.h"

namespace pennant {

namespace {

constexpr graphics::Color kDefaultBackground{0.443f, 0.514f, 0.631f, 1.0f};

template <typename Ask>
graphics::Color kept(std::optional<graphics::Color>& slot, const std::weak_ptr<Delegate>& host,
                     Ask ask, graphics::Color fallback) {
    if (!slot) {
        const auto delegate = host.lock();
        slot = (delegate ? ask(*delegate) : std::nullopt).value_or(fallback);
    }
    return *slot;
}

} // namespace

FlexAdColors& FlexAdColors::shared() { return foundation::Singleton<FlexAdColors>::shared(); }

graphics::Color FlexAdColors::primaryTextColor(const std::weak_ptr<Delegate>& host) {
    return kept(
        primary_, host, [](Delegate& d) { return d.primaryTextColor(); },
        graphics::Color::whiteColor());
}

graphics::Color FlexAdColors::secondaryTextColor(const std::weak_ptr<Delegate>& host) {
    return kept(
        secondary_, host, [](Delegate& d) { return d.secondaryTextColor(); },
        graphics::Color::whiteColor());
}

graphics::Color FlexAdColors::adBackgroundColor(const std::weak_ptr<Delegate>& host) {
    return kept(
        background_, host, [](Delegate& d) { return d.adBackgroundColor(); }, kDefaultBackground);
}

} // namespace pennant
