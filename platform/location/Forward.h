#pragma once

namespace location {

struct Coordinate;
class Location;
class LocationManager;
class LocationManagerDelegate;
class LocationService;

} // namespace location
