#pragma once

#include "platform/foundation/Timer.h"
#include "platform/location/Location.h"

#include <memory>
#include <optional>

namespace foundation {
struct Error;
} // namespace foundation

namespace location {

class LocationManagerDelegate;

// An application's handle on the location service. While updating, it receives fixes and
// failures from LocationService on the main run loop and passes them to its delegate, which it
// does not own. Main thread only.
class LocationManager : public std::enable_shared_from_this<LocationManager> {
public:
    static constexpr const char* kErrorDomain = "LocationErrorDomain";
    static constexpr long kErrorDenied = 1;

    static std::shared_ptr<LocationManager> create();
    // Whether the device's location service is switched on (not whether this app may use it).
    static bool locationServicesEnabled();

    std::weak_ptr<LocationManagerDelegate> delegate() const { return delegate_; }
    void setDelegate(std::weak_ptr<LocationManagerDelegate> delegate) {
        delegate_ = std::move(delegate);
    }

    // Starting never calls back before it returns; the first answer comes a little later.
    void startUpdatingLocation();
    void stopUpdatingLocation();
    bool isUpdating() const { return updating_; }
    // The last fix this manager delivered.
    const std::optional<Location>& location() const { return location_; }

private:
    friend class LocationService;
    LocationManager() = default;

    void receive(const Location& fix);
    void receive(const foundation::Error& error);

    std::weak_ptr<LocationManagerDelegate> delegate_;
    bool updating_ = false;
    std::optional<Location> location_;
    // The service's first answer after a start; dies with the manager.
    foundation::Timer startAnswer_;
};

} // namespace location
