#include "platform/location/LocationService.h"
#include "platform/foundation/Clock.h"
#include "platform/foundation/Error.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/Singleton.h"
#include "platform/location/LocationManager.h"
#include "platform/location/LocationManagerDelegate.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace location;
using foundation::Date;
using foundation::RunLoop;
using foundation::Seconds;

namespace {

constexpr double kStart = 1'000'000.0;

struct Update {
    LocationManager* manager;
    Location fix;
    std::optional<Location> previous;
};

LocationService& freshService() { return LocationService::shared(); }

class Recorder : public LocationManagerDelegate {
public:
    void didUpdateToLocation(LocationManager& manager, const Location& newLocation,
                             const std::optional<Location>& oldLocation) override {
        updates.push_back({&manager, newLocation, oldLocation});
        if (onUpdate)
            onUpdate();
    }
    void didFailWithError(LocationManager&, const foundation::Error& error) override {
        errors.push_back(error);
    }

    std::vector<Update> updates;
    std::vector<foundation::Error> errors;
    std::function<void()> onUpdate;
};

class LocationServiceTest : public ::testing::Test {
protected:
    LocationServiceTest() {
        RunLoop::main().setClock(std::make_shared<foundation::VirtualClock>(kStart));
    }
    ~LocationServiceTest() override { RunLoop::main().runUntilIdle(); }

    std::shared_ptr<LocationManager> startedManager() {
        auto manager = LocationManager::create();
        manager->setDelegate(recorder);
        manager->startUpdatingLocation();
        return manager;
    }

    LocationService& service = freshService();
    std::shared_ptr<Recorder> recorder = std::make_shared<Recorder>();
};

Location fixAt(double latitude, double longitude, double accuracy, double age = 0) {
    return Location({latitude, longitude}, accuracy, Date(RunLoop::main().now() - age));
}

} // namespace

TEST_F(LocationServiceTest, StartAnswersWithTheDefaultFixAfterALatencyNeverInline) {
    service.setDefaultFix({12.5, -7.25}, 65);
    auto manager = startedManager();
    EXPECT_TRUE(recorder->updates.empty());
    RunLoop::main().runFor(LocationService::kStartLatency - Seconds(0.01));
    EXPECT_TRUE(recorder->updates.empty());

    RunLoop::main().runFor(Seconds(0.01));
    ASSERT_EQ(recorder->updates.size(), 1u);
    const Location& fix = recorder->updates[0].fix;
    EXPECT_EQ(fix.coordinate(), (Coordinate{12.5, -7.25}));
    EXPECT_EQ(fix.horizontalAccuracy(), 65);
    EXPECT_EQ(fix.timestamp(), Date(kStart + LocationService::kStartLatency.count()));
    EXPECT_FALSE(recorder->updates[0].previous);
    EXPECT_EQ(manager->location(), fix);
}

TEST_F(LocationServiceTest, ScenarioFixesReachOnlyUpdatingManagersWithTheirPreviousFix) {
    auto updating = startedManager();
    auto stopped = startedManager();
    stopped->stopUpdatingLocation();
    RunLoop::main().runUntilIdle();
    ASSERT_TRUE(recorder->updates.empty()) << "no default fix was set";

    const Location first = fixAt(1, 2, 500);
    const Location second = fixAt(3, 4, 100, 90000);
    service.deliverFix(first);
    EXPECT_TRUE(recorder->updates.empty());
    RunLoop::main().runUntilIdle();
    service.deliverFix(second);
    RunLoop::main().runUntilIdle();

    ASSERT_EQ(recorder->updates.size(), 2u);
    EXPECT_EQ(recorder->updates[0].manager, updating.get());
    EXPECT_EQ(recorder->updates[1].manager, updating.get());
    EXPECT_EQ(recorder->updates[1].fix, second);
    EXPECT_EQ(recorder->updates[1].previous, first);
}

TEST_F(LocationServiceTest, StoppingOrRestartingBeforeTheAnswerLeavesAtMostOne) {
    service.setDefaultFix({12.5, -7.25}, 65);
    auto stopped = startedManager();
    stopped->stopUpdatingLocation();
    auto restarted = startedManager();
    RunLoop::main().runFor(Seconds(0.3));
    restarted->startUpdatingLocation();
    RunLoop::main().runUntilIdle();

    ASSERT_EQ(recorder->updates.size(), 1u);
    EXPECT_EQ(recorder->updates[0].manager, restarted.get());
    EXPECT_EQ(RunLoop::main().now(), kStart + 0.3 + LocationService::kStartLatency.count());
}

TEST_F(LocationServiceTest, LaterStartReceivesTheLastKnownFixBeforeTheDefault) {
    service.setDefaultFix({12.5, -7.25}, 65);
    const Location known = fixAt(40, -70, 30, 7200);
    service.deliverFix(known);
    auto manager = startedManager();
    RunLoop::main().runUntilIdle();
    ASSERT_EQ(recorder->updates.size(), 1u);
    EXPECT_EQ(recorder->updates[0].fix, known);
}

TEST_F(LocationServiceTest, DenialFailsEachUpdatingManagerOnceAndEveryLaterStart) {
    service.setDefaultFix({12.5, -7.25}, 65);
    auto answered = startedManager();
    RunLoop::main().runUntilIdle();
    auto waiting = startedManager();
    service.denyAuthorization();
    EXPECT_TRUE(recorder->errors.empty());
    RunLoop::main().runUntilIdle();
    ASSERT_EQ(recorder->errors.size(), 2u);
    for (const auto& error : recorder->errors) {
        EXPECT_EQ(error.code, LocationManager::kErrorDenied);
        EXPECT_EQ(error.domain, LocationManager::kErrorDomain);
    }

    auto later = startedManager();
    service.deliverFix(fixAt(1, 2, 10));
    RunLoop::main().runUntilIdle();
    EXPECT_EQ(recorder->errors.size(), 3u);
    EXPECT_EQ(recorder->updates.size(), 1u) << "only the answer before the denial";
    EXPECT_TRUE(LocationManager::locationServicesEnabled())
        << "denial is the app's, not the device's";
}

TEST_F(LocationServiceTest, SwitchedOffServiceReportsNothing) {
    service.setDefaultFix({12.5, -7.25}, 65);
    service.setEnabled(false);
    EXPECT_FALSE(LocationManager::locationServicesEnabled());
    auto manager = startedManager();
    service.deliverFix(fixAt(1, 2, 10));
    RunLoop::main().runUntilIdle();
    service.setEnabled(true);
    manager->startUpdatingLocation();
    RunLoop::main().runUntilIdle();

    ASSERT_EQ(recorder->updates.size(), 1u);
    EXPECT_EQ(recorder->updates[0].fix.coordinate(), (Coordinate{12.5, -7.25}))
        << "a fix sent while off is not remembered";
    EXPECT_TRUE(recorder->errors.empty());
}

TEST_F(LocationServiceTest, DelegatesAreNotOwnedAndMayDropTheirManager) {
    service.setDefaultFix({12.5, -7.25}, 65);
    auto manager = startedManager();
    std::weak_ptr<LocationManager> watch = manager;
    recorder->onUpdate = [&] {
        manager->stopUpdatingLocation();
        manager.reset();
    };
    RunLoop::main().runUntilIdle();
    EXPECT_EQ(recorder->updates.size(), 1u);
    EXPECT_TRUE(watch.expired());

    auto orphan = startedManager();
    recorder.reset();
    service.deliverFix(fixAt(1, 2, 10));
    RunLoop::main().runUntilIdle();
    EXPECT_EQ(orphan->location()->coordinate(), (Coordinate{1, 2}));
}
