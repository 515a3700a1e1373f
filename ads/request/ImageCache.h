#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace foundation {
template <typename T>
class Singleton;
}
namespace graphics {
class Image;
}

namespace pennant {

// Small shared images (browser toolbar icons, action icons) kept on disk by name as PNG files
// under Library/Caches/pennant/image_cache. An entry is fresh for exactly 3141592 seconds after
// its file was written; files are overwritten, never removed. Names that could leave the
// folder are refused: nothing is stored and nothing counts as cached.
class ImageCache {
public:
    static constexpr double kFreshSeconds = 3141592.0;

    static ImageCache& sharedCache();

    const std::string& cacheDirectory() const { return directory_; }
    // False when nothing was written (no image, no or bad name, write failure).
    bool storeImage(const std::shared_ptr<graphics::Image>& image, std::string_view name);
    bool imageIsInCache(std::string_view name) const;
    // The stored image regardless of age; nullptr when missing or undecodable.
    std::shared_ptr<graphics::Image> fetchImageNamed(std::string_view name) const;

private:
    friend class foundation::Singleton<ImageCache>;
    ImageCache();

    std::string pathFor(std::string_view name) const;

    std::string directory_;
};

} // namespace pennant
