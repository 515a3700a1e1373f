#pragma once

namespace pennant {

class Ad;
class AdDelegate;
class AnalyticsData;
class AnalyticsDataDelegate;
class AppData;
class CacheFileName;
class Delegate;
class Endpoints;
class ImageCache;
class Localizer;
class LocationManager;
class Opener;
class URLDownload;
class UserAgent;

} // namespace pennant
