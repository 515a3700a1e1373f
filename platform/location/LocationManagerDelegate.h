#pragma once

#include <optional>

namespace foundation {
struct Error;
} // namespace foundation

namespace location {

class Location;
class LocationManager;

// What a LocationManager reports, always on the main run loop. Both are notifications: the
// defaults ignore them.
class LocationManagerDelegate {
public:
    virtual ~LocationManagerDelegate() = default;

    // oldLocation is the manager's previous fix, nullopt for its first.
    virtual void didUpdateToLocation(LocationManager& /*manager*/, const Location& /*newLocation*/,
                                     const std::optional<Location>& /*oldLocation*/) {}
    // Code LocationManager::kErrorDenied means the user refused access.
    virtual void didFailWithError(LocationManager& /*manager*/,
                                  const foundation::Error& /*error*/) {}
};

} // namespace location
