#pragma once

#include "platform/foundation/Result.h"

#include <memory>
#include <optional>
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
// folder are refused: nothing is stored and nothing counts as cached. The folder is found
// from the current sandbox home at each use, and nothing is read or written through a
// symbolic link below the home.
class ImageCache {
public:
    static constexpr double kFreshSeconds = 3141592.0;

    static ImageCache& sharedCache();

    // Empty while there is no sandbox home.
    std::string cacheDirectory() const;
    // Fails when nothing was written (no image, no or bad name, no home, write failure).
    foundation::Status storeImage(const std::shared_ptr<graphics::Image>& image,
                                  std::string_view name);
    // Only a regular file counts: a directory, FIFO or link under the name is no image.
    bool imageIsInCache(std::string_view name) const;
    // The stored image regardless of age; nullptr when missing or undecodable.
    std::shared_ptr<graphics::Image> fetchImageNamed(std::string_view name) const;

private:
    friend class foundation::Singleton<ImageCache>;
    ImageCache() = default;

    // Below the sandbox home; nullopt for a name that could leave the folder.
    static std::optional<std::string> relativePathFor(std::string_view name);
};

} // namespace pennant
