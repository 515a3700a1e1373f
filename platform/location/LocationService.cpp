#include "platform/location/LocationService.h"

#include "platform/foundation/Assertions.h"
#include "platform/foundation/Error.h"
#include "platform/foundation/Singleton.h"
#include "platform/location/LocationManager.h"

namespace location {

namespace {

foundation::Error deniedError() {
    return {LocationManager::kErrorDomain, LocationManager::kErrorDenied,
            "The user denied access to location services."};
}

} // namespace

LocationService& LocationService::shared() {
    return foundation::Singleton<LocationService>::shared();
}

void LocationService::setDefaultFix(Coordinate coordinate, double horizontalAccuracy) {
    defaultFix_ = DefaultFix{coordinate, horizontalAccuracy};
}

// A switched-off or refused service measures nothing, so the fix is not even remembered.
void LocationService::deliverFix(const Location& fix) {
    foundation::assertIsMainThread();
    if (!enabled_ || denied_)
        return;
    lastFix_ = fix;
    for (const auto& manager : updatingManagers()) {
        std::weak_ptr<LocationManager> weak = manager;
        foundation::RunLoop::main().post([weak, fix] {
            if (auto alive = weak.lock())
                alive->receive(fix);
        });
    }
}

// A start still waiting for its answer would otherwise report the refusal a second time.
void LocationService::denyAuthorization() {
    foundation::assertIsMainThread();
    denied_ = true;
    for (const auto& manager : updatingManagers()) {
        manager->startAnswer_.stop();
        std::weak_ptr<LocationManager> weak = manager;
        foundation::RunLoop::main().post([weak] {
            if (auto alive = weak.lock())
                alive->receive(deniedError());
        });
    }
}

void LocationService::startUpdates(const std::shared_ptr<LocationManager>& manager) {
    foundation::assertIsMainThread();
    std::erase_if(managers_, [&](const auto& weak) {
        auto alive = weak.lock();
        return !alive || alive == manager;
    });
    managers_.push_back(manager);
    std::weak_ptr<LocationManager> weak = manager;
    manager->startAnswer_.start(kStartLatency, false, [weak] {
        if (auto alive = weak.lock())
            LocationService::shared().answerStart(alive);
    });
}

void LocationService::stopUpdates(LocationManager& manager) {
    foundation::assertIsMainThread();
    manager.startAnswer_.stop();
    std::erase_if(managers_, [&](const auto& weak) {
        auto alive = weak.lock();
        return !alive || alive.get() == &manager;
    });
}

// Decided when the answer is due, so the service's state at that moment counts.
void LocationService::answerStart(const std::shared_ptr<LocationManager>& manager) const {
    if (denied_)
        manager->receive(deniedError());
    else if (auto fix = currentFix(); fix && enabled_)
        manager->receive(*fix);
}

std::optional<Location> LocationService::currentFix() const {
    if (lastFix_)
        return lastFix_;
    if (defaultFix_)
        return Location(defaultFix_->coordinate, defaultFix_->horizontalAccuracy,
                        foundation::Date::now());
    return std::nullopt;
}

std::vector<std::shared_ptr<LocationManager>> LocationService::updatingManagers() {
    std::vector<std::shared_ptr<LocationManager>> updating;
    std::erase_if(managers_, [&](const auto& weak) {
        auto alive = weak.lock();
        if (!alive || !alive->isUpdating())
            return true;
        updating.push_back(std::move(alive));
        return false;
    });
    return updating;
}

} // namespace location
