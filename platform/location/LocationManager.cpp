#include "platform/location/LocationManager.h"

#include "platform/foundation/Error.h"
#include "platform/location/LocationManagerDelegate.h"
#include "platform/location/LocationService.h"

#include <utility>

namespace location {

std::shared_ptr<LocationManager> LocationManager::create() {
    return std::shared_ptr<LocationManager>(new LocationManager());
}

bool LocationManager::locationServicesEnabled() { return LocationService::shared().isEnabled(); }

void LocationManager::startUpdatingLocation() {
    updating_ = true;
    LocationService::shared().startUpdates(shared_from_this());
}

void LocationManager::stopUpdatingLocation() {
    updating_ = false;
    LocationService::shared().stopUpdates(*this);
}

// Answers already on their way when updating stopped are dropped here.
void LocationManager::receive(const Location& fix) {
    if (!updating_)
        return;
    auto protector = shared_from_this();
    const std::optional<Location> previous = std::exchange(location_, fix);
    if (auto delegate = delegate_.lock())
        delegate->didUpdateToLocation(*this, fix, previous);
}

void LocationManager::receive(const foundation::Error& error) {
    if (!updating_)
        return;
    auto protector = shared_from_this();
    if (auto delegate = delegate_.lock())
        delegate->didFailWithError(*this, error);
}

} // namespace location
