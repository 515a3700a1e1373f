#pragma once

namespace pennant {

class AppData;
class CacheFileName;
class Endpoints;
class ImageCache;
class Localizer;
class LocationManager;
class URLDownload;
class UserAgent;

} // namespace pennant
