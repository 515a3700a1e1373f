#include "ads/request/ImageCache.h"

#include "ads/request/CacheFileName.h"
#include "platform/foundation/FileManager.h"
#include "platform/foundation/Sandbox.h"
#include "platform/foundation/Singleton.h"
#include "platform/graphics/Image.h"

#include <cmath>

namespace pennant {

namespace {
constexpr std::string_view kFolder = "pennant/image_cache";
constexpr const char* kDomain = "PennantImageCacheErrorDomain";
} // namespace

ImageCache& ImageCache::sharedCache() { return foundation::Singleton<ImageCache>::shared(); }

std::string ImageCache::cacheDirectory() const {
    const auto caches =
        foundation::Sandbox::searchPathForDirectory(foundation::Sandbox::Directory::Caches);
    return caches.empty() ? std::string() : caches.front() + "/" + std::string(kFolder);
}

std::optional<std::string> ImageCache::relativePathFor(std::string_view name) {
    if (!CacheFileName::isSafe(name))
        return std::nullopt;
    return foundation::Sandbox::relativePath(foundation::Sandbox::Directory::Caches) + "/" +
           std::string(kFolder) + "/" + std::string(name);
}

foundation::Status ImageCache::storeImage(const std::shared_ptr<graphics::Image>& image,
                                          std::string_view name) {
    const auto relative = relativePathFor(name);
    if (!image || !relative)
        return foundation::Error{kDomain, -1, "no image, or a name that cannot be a file name"};
    const foundation::Data png = image->pngData();
    if (png.empty())
        return foundation::Error{kDomain, -2, "the image could not be encoded"};
    return foundation::FileManager::writeAtomicallyBelow(foundation::Sandbox::current().home(),
                                                         *relative, png);
}

bool ImageCache::imageIsInCache(std::string_view name) const {
    const auto relative = relativePathFor(name);
    if (!relative)
        return false;
    auto date = foundation::FileManager::modificationDateBelow(
        foundation::Sandbox::current().home(), *relative);
    if (!date)
        return false;
    // Files dated in the future count as fresh.
    const double age = date->timeIntervalSinceNow();
    return !std::isnan(age) && age >= -kFreshSeconds;
}

std::shared_ptr<graphics::Image> ImageCache::fetchImageNamed(std::string_view name) const {
    const auto relative = relativePathFor(name);
    if (!relative)
        return nullptr;
    auto png =
        foundation::FileManager::contentsBelow(foundation::Sandbox::current().home(), *relative);
    return png ? graphics::Image::fromData(png.value()) : nullptr;
}

} // namespace pennant
