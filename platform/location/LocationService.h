#pragma once

#include "platform/foundation/RunLoop.h"
#include "platform/location/Location.h"

#include <memory>
#include <optional>
#include <vector>

namespace foundation {
template <typename T>
class Singleton;
} // namespace foundation

namespace location {

class LocationManager;

// The device's positioning hardware as the simulator drives it: whether it is switched on,
// the position it reports by default, fixes and a refusal injected by the scenario. Every
// answer reaches managers through the main run loop. Main thread only.
class LocationService {
public:
    // How long a newly started update waits for its first answer.
    static constexpr foundation::Seconds kStartLatency{0.5};

    static LocationService& shared();

    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled) { enabled_ = enabled; }
    // Where the device is when the scenario has said nothing; a start receives it stamped with
    // the time it is delivered.
    void setDefaultFix(Coordinate coordinate, double horizontalAccuracy);
    // Sent to every updating manager, and remembered as the last known fix that later starts
    // receive first.
    void deliverFix(const Location& fix);
    // The user refuses access: updating managers fail now, later starts fail too.
    void denyAuthorization();
    bool isAuthorizationDenied() const { return denied_; }

private:
    friend class foundation::Singleton<LocationService>;
    friend class LocationManager;
    struct DefaultFix {
        Coordinate coordinate;
        double horizontalAccuracy;
    };

    LocationService() = default;

    void startUpdates(const std::shared_ptr<LocationManager>& manager);
    void stopUpdates(LocationManager& manager);
    void answerStart(const std::shared_ptr<LocationManager>& manager) const;
    // The last known fix, else the default one as of now.
    std::optional<Location> currentFix() const;
    std::vector<std::shared_ptr<LocationManager>> updatingManagers();

    bool enabled_ = true;
    bool denied_ = false;
    std::optional<DefaultFix> defaultFix_;
    std::optional<Location> lastFix_;
    std::vector<std::weak_ptr<LocationManager>> managers_;
};

} // namespace location
