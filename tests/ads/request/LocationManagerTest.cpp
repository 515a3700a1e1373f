#include "ads/request/LocationManager.h"
#include "platform/foundation/FileManager.h"
#include "platform/foundation/Singleton.h"
#include "platform/location/LocationService.h"
#include "tests/support/SandboxHome.h"

using foundation::FileManager;
using location::Location;
using location::LocationService;
using pennant::LocationManager;
using testing_support::SandboxHome;

namespace {

class LocationCache : public SandboxHome {
protected:
    void SetUp() override { SandboxHome::SetUp(); }
    void TearDown() override { SandboxHome::TearDown(); }
    LocationManager& started() {
        auto& manager = LocationManager::sharedManager();
        manager.updateIfAppropriate();
        foundation::RunLoop::main().runFor(foundation::Seconds(1));
        return manager;
    }
    void fix(double lat, double lon, double accuracy, double age = 0) {
        LocationService::shared().deliverFix(
            Location({lat, lon}, accuracy, foundation::Date(clock->now() - age)));
        foundation::RunLoop::main().runFor(foundation::Seconds(0.1));
    }
    std::string cached() {
        auto bytes = FileManager::contentsAtPath(LocationManager::sharedManager().cachePath());
        return bytes ? std::string(bytes->view()) : "<none>";
    }
};

} // namespace

TEST_F(LocationCache, IgnoresFixesNearZeroOrADayOld) {
    auto& manager = started();
    fix(0.0005, -0.0008, 50);
    fix(12.5, -7.25, 50, 25 * 3600);
    EXPECT_FALSE(manager.locationString());
    EXPECT_EQ(cached(), "<none>");
    fix(0.0005, 10.0, 500);
    EXPECT_EQ(manager.locationString(), "0.000500,10.000000");
    EXPECT_EQ(cached(), "0.000500,10.000000");
    EXPECT_EQ(manager.cachePath(), path("Library/Caches/pennant/location_cache/location.txt"));
}

TEST_F(LocationCache, AccurateFixStopsUpdatingAndRefusalDisablesForTheProcess) {
    auto& manager = started();
    EXPECT_TRUE(manager.isUpdating());
    fix(12.5, -7.25, 500);
    EXPECT_TRUE(manager.isUpdating());
    fix(12.5, -7.25, 150);
    EXPECT_FALSE(manager.isUpdating());
    EXPECT_NEAR(manager.lastUpdated()->timeIntervalSince1970(), clock->now(), 0.11)
        << "dated when written";
    EXPECT_TRUE(manager.locationServicesEnabled());
    clock->advanceBy(2 * 86400);
    manager.updateIfAppropriate();
    LocationService::shared().denyAuthorization();
    foundation::RunLoop::main().runFor(foundation::Seconds(1));
    EXPECT_FALSE(manager.isUpdating());
    EXPECT_FALSE(manager.locationServicesEnabled());
}

TEST_F(LocationCache, RelaunchUsesAFreshCacheFileWithoutStartingTheService) {
    const std::string file = path("Library/Caches/pennant/location_cache/location.txt");
    ASSERT_TRUE(FileManager::createDirectory(path("Library/Caches/pennant/location_cache")));
    ASSERT_TRUE(
        FileManager::writeAtomically(file, foundation::Data::fromString("12.500000,-7.250000")));
    ASSERT_TRUE(FileManager::setModificationDate(file, foundation::Date(kStart - 2 * 3600)));
    auto& manager = started();
    EXPECT_FALSE(manager.isUpdating());
    EXPECT_EQ(manager.locationString(), "12.500000,-7.250000");
    EXPECT_EQ(manager.lastUpdated()->timeIntervalSince1970(), kStart - 2 * 3600);
}

TEST_F(LocationCache, CorruptCacheFileCountsAsNoFix) {
    const std::string file = path("Library/Caches/pennant/location_cache/location.txt");
    ASSERT_TRUE(FileManager::createDirectory(path("Library/Caches/pennant/location_cache")));
    ASSERT_TRUE(
        FileManager::writeAtomically(file, foundation::Data::fromString("not,a\nlocation\x01")));
    auto& manager = started();
    EXPECT_FALSE(manager.locationString());
    EXPECT_FALSE(manager.lastUpdated());
    EXPECT_TRUE(manager.isUpdating()) << "without a usable fix the service is started";
}

TEST_F(LocationCache, AFIFOInPlaceOfTheCacheFileCountsAsNoFix) {
    makeFIFO("Library/Caches/pennant/location_cache/location.txt");
    auto& manager = started();
    EXPECT_FALSE(manager.locationString());
    EXPECT_TRUE(manager.isUpdating());
}

TEST_F(LocationCache, ALinkOutOfTheHomeIsNeverWrittenThrough) {
    linkOutside("Library/Caches/pennant/location_cache");
    auto& manager = started();
    fix(12.5, -7.25, 50);
    EXPECT_EQ(manager.locationString(), "12.500000,-7.250000") << "kept in memory";
    EXPECT_TRUE(outsideIsEmpty());
}

TEST_F(LocationCache, FirstTouchedBeforeTheHomeIsSetItCachesOnceThereIsOne) {
    EXPECT_FALSE(foundation::Sandbox::current().setHome(""));
    EXPECT_EQ(LocationManager::sharedManager().cachePath(), "");
    ASSERT_TRUE(foundation::Sandbox::current().setHome(home.string()));
    auto& manager = started();
    fix(12.5, -7.25, 50);
    EXPECT_EQ(manager.cachePath(), path("Library/Caches/pennant/location_cache/location.txt"));
    EXPECT_EQ(cached(), "12.500000,-7.250000");
}
