#include "ads/request/ImageCache.h"
#include "platform/foundation/FileManager.h"
#include "platform/foundation/Singleton.h"
#include "platform/graphics/Image.h"
#include "tests/support/SandboxHome.h"

using foundation::FileManager;
using pennant::ImageCache;
using testing_support::SandboxHome;

namespace {

class ImageCacheTest : public SandboxHome {
protected:
    void SetUp() override {
        SandboxHome::SetUp();
        image = graphics::Image::fromPixels(2, 2, std::vector<std::uint32_t>(4, 0xFF336699u));
    }
    void age(const std::string& name, double seconds) {
        ASSERT_TRUE(FileManager::setModificationDate(ImageCache::sharedCache().cacheDirectory() +
                                                         "/" + name,
                                                     foundation::Date(kStart - seconds)));
    }
    std::shared_ptr<graphics::Image> image;
};

} // namespace

TEST_F(ImageCacheTest, StoresPNGByNameUnderCaches) {
    auto& cache = ImageCache::sharedCache();
    EXPECT_EQ(cache.cacheDirectory(), path("Library/Caches/pennant/image_cache"));
    EXPECT_FALSE(cache.imageIsInCache("back"));
    ASSERT_TRUE(cache.storeImage(image, "back"));
    EXPECT_TRUE(cache.imageIsInCache("back"));
    auto fetched = cache.fetchImageNamed("back");
    ASSERT_TRUE(fetched);
    EXPECT_EQ(fetched->size(), image->size());
    EXPECT_FALSE(cache.storeImage(nullptr, "forward"));
    EXPECT_FALSE(cache.storeImage(image, ""));
    EXPECT_FALSE(FileManager::fileExists(cache.cacheDirectory() + "/forward"));
}

TEST_F(ImageCacheTest, FreshForExactly3141592Seconds) {
    auto& cache = ImageCache::sharedCache();
    ASSERT_TRUE(cache.storeImage(image, "url"));
    age("url", 36 * 86400);
    EXPECT_TRUE(cache.imageIsInCache("url"));
    age("url", 3141592);
    EXPECT_TRUE(cache.imageIsInCache("url"));
    age("url", 3141593);
    EXPECT_FALSE(cache.imageIsInCache("url"));
    age("url", 37 * 86400);
    EXPECT_FALSE(cache.imageIsInCache("url"));
    EXPECT_TRUE(cache.fetchImageNamed("url")) << "stale entries can still be fetched";
    age("url", -86400); // dated in the future
    EXPECT_TRUE(cache.imageIsInCache("url"));
}

TEST_F(ImageCacheTest, HostileNamesNeverReachOutsideTheFolder) {
    auto& cache = ImageCache::sharedCache();
    ASSERT_TRUE(
        FileManager::writeAtomically(path("Documents/x"), foundation::Data::fromString("keep")));
    for (const std::string& name :
         std::vector<std::string>{"../../../Documents/x", "a/b", std::string("call\0.png", 9), "..",
                                  ".", std::string(300, 'n'), std::string("tab\tname")}) {
        EXPECT_FALSE(cache.storeImage(image, name)) << name;
        EXPECT_FALSE(cache.imageIsInCache(name)) << name;
        EXPECT_FALSE(cache.fetchImageNamed(name)) << name;
    }
    EXPECT_EQ(std::string(FileManager::contentsAtPath(path("Documents/x"))->view()), "keep");
    EXPECT_FALSE(std::filesystem::exists(cache.cacheDirectory()))
        << "made only when an image is stored";
}

TEST_F(ImageCacheTest, CorruptEntriesFetchAsNothing) {
    auto& cache = ImageCache::sharedCache();
    ASSERT_TRUE(FileManager::createDirectory(cache.cacheDirectory()));
    ASSERT_TRUE(FileManager::writeAtomically(cache.cacheDirectory() + "/call",
                                             foundation::Data::fromString("not a png")));
    EXPECT_FALSE(cache.fetchImageNamed("call"));
}

TEST_F(ImageCacheTest, FoldersAndFIFOsUnderANameAreNoImages) {
    auto& cache = ImageCache::sharedCache();
    ASSERT_TRUE(FileManager::createDirectory(cache.cacheDirectory() + "/folder"));
    makeFIFO("Library/Caches/pennant/image_cache/pipe");
    for (const char* name : {"folder", "pipe"}) {
        EXPECT_FALSE(cache.imageIsInCache(name)) << name;
        EXPECT_FALSE(cache.fetchImageNamed(name)) << name;
    }
}

TEST_F(ImageCacheTest, ALinkOutOfTheHomeIsNeverWrittenOrReadThrough) {
    auto& cache = ImageCache::sharedCache();
    // Deepest first: replacing a folder must not reach through a link made before.
    for (const char* link :
         {"Library/Caches/pennant/image_cache", "Library/Caches/pennant", "Library/Caches"}) {
        linkOutside(link);
        EXPECT_FALSE(cache.storeImage(image, "back")) << link;
        EXPECT_TRUE(outsideIsEmpty()) << link;
    }
    std::filesystem::create_directories(outside / "pennant/image_cache");
    ASSERT_TRUE(FileManager::writeAtomically((outside / "pennant/image_cache/back").string(),
                                             image->pngData()));
    EXPECT_FALSE(cache.imageIsInCache("back"));
    EXPECT_FALSE(cache.fetchImageNamed("back"));
}

TEST_F(ImageCacheTest, FirstTouchedBeforeTheHomeIsSetItWorksOnceThereIsOne) {
    EXPECT_FALSE(foundation::Sandbox::current().setHome(""));
    auto& cache = ImageCache::sharedCache();
    EXPECT_EQ(cache.cacheDirectory(), "");
    EXPECT_FALSE(cache.storeImage(image, "back"));
    ASSERT_TRUE(foundation::Sandbox::current().setHome(home.string()));
    EXPECT_EQ(cache.cacheDirectory(), path("Library/Caches/pennant/image_cache"));
    ASSERT_TRUE(cache.storeImage(image, "back"));
    EXPECT_TRUE(cache.imageIsInCache("back"));
}
