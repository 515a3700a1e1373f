#pragma once

#include "platform/foundation/Date.h"
#include "platform/location/LocationManagerDelegate.h"

#include <memory>
#include <optional>
#include <string>

namespace foundation {
template <typename T>
class Singleton;
}
namespace location {
class Location;
class LocationManager;
} // namespace location

namespace pennant {

// The device's last known position for ad requests. Runs the location service at most about
// once a day, keeps the last position as "lat,lon" text in
// Library/Caches/pennant/location_cache/location.txt (the file's date is the fix time after a
// relaunch) and stops the service once a fix is within 200 metres. The file is found from the
// current sandbox home at each use and is never read or written through a symbolic link.
class LocationManager : public location::LocationManagerDelegate {
public:
    static constexpr double kStaleSeconds = 86400;
    static constexpr double kNearZeroDegrees = 0.001;
    static constexpr double kGoodAccuracyMetres = 200;

    static LocationManager& sharedManager();
    static std::string stringForLocation(const location::Location& location);

    // Empty while there is no sandbox home.
    std::string cachePath() const;
    // The service is on and the user has not refused access in this process.
    bool locationServicesEnabled() const;
    // Starts the service when it is enabled and the stored fix is missing or a day old.
    void updateIfAppropriate();
    // Filled from the cache file when empty; a file that does not hold "lat,lon" counts as none.
    const std::optional<std::string>& locationString();
    // Filled from the cache file's modification date when empty.
    const std::optional<foundation::Date>& lastUpdated();
    // Logs when the file cannot be written.
    void writeLocationStringToCache();
    bool isUpdating() const;

    void didUpdateToLocation(location::LocationManager& manager,
                             const location::Location& newLocation,
                             const std::optional<location::Location>& oldLocation) override;
    void didFailWithError(location::LocationManager& manager,
                          const foundation::Error& error) override;

private:
    friend class foundation::Singleton<LocationManager>;
    LocationManager();

    static std::string relativeCachePath();
    // The platform manager holds its delegate weakly; this non-owning reference is what it
    // holds, valid for as long as the singleton lives.
    std::shared_ptr<LocationManager> delegateReference_{this, [](LocationManager*) {}};
    std::shared_ptr<location::LocationManager> platformManager_;
    bool accessRefused_ = false;
    std::optional<std::string> locationString_;
    std::optional<foundation::Date> lastUpdated_;
};

} // namespace pennant
