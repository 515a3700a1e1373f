#include "ads/request/ImageCache.h"

#include "ads/request/CacheFileName.h"
#include "platform/foundation/FileManager.h"
#include "platform/foundation/Sandbox.h"
#include "platform/foundation/Singleton.h"
#include "platform/graphics/Image.h"

#include <cmath>

namespace pennant {

ImageCache& ImageCache::sharedCache() { return foundation::Singleton<ImageCache>::shared(); }

ImageCache::ImageCache() {
    const auto caches = foundation::Sandbox::searchPathForDirectory(foundation::Sandbox::Directory::Caches);
    if (caches.empty())
        return;
    directory_ = caches.front() + "/pennant/image_cache";
    foundation::FileManager::createDirectory(directory_);
}

std::string ImageCache::pathFor(std::string_view name) const {
    if (directory_.empty() || !CacheFileName::isSafe(name))
        return {};
    return directory_ + "/" + std::string(name);
}

bool ImageCache::storeImage(const std::shared_ptr<graphics::Image>& image, std::string_view name) {
    const std::string path = pathFor(name);
    if (!image || path.empty())
        return false;
    const foundation::Data png = image->pngData();
    return !png.empty() && foundation::FileManager::writeAtomically(path, png).ok();
}

bool ImageCache::imageIsInCache(std::string_view name) const {
    const std::string path = pathFor(name);
    if (path.empty())
        return false;
    auto date = foundation::FileManager::modificationDate(path);
    if (!date)
        return false;
    // Files dated in the future count as fresh.
    const double age = date->timeIntervalSinceNow();
    return !std::isnan(age) && age >= -kFreshSeconds;
}

std::shared_ptr<graphics::Image> ImageCache::fetchImageNamed(std::string_view name) const {
    const std::string path = pathFor(name);
    return path.empty() ? nullptr : graphics::Image::fromFile(path);
}

} // namespace pennant
