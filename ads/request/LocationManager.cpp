#include "ads/request/LocationManager.h"

#include "platform/foundation/Error.h"
#include "platform/foundation/FileManager.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/Sandbox.h"
#include "platform/foundation/Singleton.h"
#include "platform/location/Location.h"
#include "platform/location/LocationManager.h"

#include <cctype>
#include <cmath>
#include <fmt/format.h>

namespace pennant {

namespace {
constexpr std::string_view kCacheFile = "pennant/location_cache/location.txt";
constexpr std::size_t kMaxCacheFileBytes = 1024;

const std::string& home() { return foundation::Sandbox::current().home(); }

// One decimal number with a fraction, such as "-7.250000", starting at text[at].
bool scanDecimal(const std::string& text, std::size_t& at) {
    auto digits = [&] {
        const std::size_t start = at;
        while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])))
            ++at;
        return at - start;
    };
    if (at < text.size() && text[at] == '-')
        ++at;
    const std::size_t whole = digits();
    if (whole == 0 || whole > 3 || at >= text.size() || text[at] != '.')
        return false;
    ++at;
    return digits() > 0;
}

// What writeLocationStringToCache writes: two decimal numbers separated by a comma.
bool isLocationText(const std::string& text) {
    std::size_t at = 0;
    if (text.size() >= 64 || !scanDecimal(text, at) || at >= text.size() || text[at] != ',')
        return false;
    ++at;
    return scanDecimal(text, at) && at == text.size();
}
} // namespace

LocationManager& LocationManager::sharedManager() {
    return foundation::Singleton<LocationManager>::shared();
}

LocationManager::LocationManager() : platformManager_(location::LocationManager::create()) {}

std::string LocationManager::relativeCachePath() {
    return foundation::Sandbox::relativePath(foundation::Sandbox::Directory::Caches) + "/" +
           std::string(kCacheFile);
}

std::string LocationManager::cachePath() const {
    return home().empty() ? std::string() : home() + "/" + relativeCachePath();
}

std::string LocationManager::stringForLocation(const location::Location& location) {
    return fmt::format("{:f},{:f}", location.coordinate().latitude,
                       location.coordinate().longitude);
}

bool LocationManager::locationServicesEnabled() const {
    return location::LocationManager::locationServicesEnabled() && !accessRefused_;
}

bool LocationManager::isUpdating() const { return platformManager_->isUpdating(); }

void LocationManager::updateIfAppropriate() {
    const auto& updated = lastUpdated();
    const bool stale = !updated || updated->timeIntervalSinceNow() < -kStaleSeconds;
    if (!locationServicesEnabled() || !stale)
        return;
    platformManager_->setDelegate(delegateReference_);
    platformManager_->startUpdatingLocation();
}

const std::optional<std::string>& LocationManager::locationString() {
    if (!locationString_ && !home().empty())
        if (auto bytes = foundation::FileManager::contentsBelow(home(), relativeCachePath(),
                                                                kMaxCacheFileBytes)) {
            std::string text(bytes.value().view());
            if (isLocationText(text))
                locationString_ = std::move(text);
        }
    return locationString_;
}

const std::optional<foundation::Date>& LocationManager::lastUpdated() {
    if (!lastUpdated_ && locationString())
        lastUpdated_ = foundation::FileManager::modificationDateBelow(home(), relativeCachePath());
    return lastUpdated_;
}

void LocationManager::writeLocationStringToCache() {
    if (!locationString_)
        return;
    if (auto written = foundation::FileManager::writeAtomicallyBelow(
            home(), relativeCachePath(), foundation::Data::fromString(*locationString_));
        !written) {
        foundation::log("Pennant: could not cache location: {}", written.error().message);
        return;
    }
    lastUpdated_ = foundation::Date::now();
}

void LocationManager::didUpdateToLocation(location::LocationManager& manager,
                                          const location::Location& fix,
                                          const std::optional<location::Location>&) {
    const auto coordinate = fix.coordinate();
    if (std::fabs(coordinate.latitude) <= kNearZeroDegrees &&
        std::fabs(coordinate.longitude) <= kNearZeroDegrees)
        return;
    if (fix.timestamp().timeIntervalSinceNow() < -kStaleSeconds)
        return;
    locationString_ = stringForLocation(fix);
    writeLocationStringToCache();
    if (fix.horizontalAccuracy() <= kGoodAccuracyMetres)
        manager.stopUpdatingLocation();
}

void LocationManager::didFailWithError(location::LocationManager& manager,
                                       const foundation::Error& error) {
    if (error.code != location::LocationManager::kErrorDenied)
        return;
    accessRefused_ = true;
    manager.stopUpdatingLocation();
}

} // namespace pennant
