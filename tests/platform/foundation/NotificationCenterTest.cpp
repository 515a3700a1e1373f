#include "platform/foundation/NotificationCenter.h"

#include <gtest/gtest.h>

using foundation::Notification;
using foundation::NotificationCenter;

TEST(NotificationCenter, SenderFilterAndTokenLifetime) {
    NotificationCenter center;
    int sender = 0, other = 0, any = 0, filtered = 0;
    auto anyToken = center.addObserver("N", nullptr, [&](const Notification&) { ++any; });
    auto filteredToken = center.addObserver("N", &sender, [&](const Notification&) { ++filtered; });
    center.post("N", &sender);
    center.post("N", &other);
    center.post("Other", &sender);
    EXPECT_EQ(any, 2);
    EXPECT_EQ(filtered, 1);
    anyToken.reset();
    center.post("N", &sender);
    EXPECT_EQ(any, 2);
    EXPECT_EQ(filtered, 2);
}

TEST(NotificationCenter, ObserversRemovedDuringDeliveryAreNotCalled) {
    NotificationCenter center;
    foundation::Subscription first, second, third;
    int secondCalls = 0, thirdCalls = 0;
    first = center.addObserver("N", nullptr, [&](const Notification&) {
        second.reset();
        first.reset(); // removing itself while running is safe
    });
    second = center.addObserver("N", nullptr, [&](const Notification&) { ++secondCalls; });
    third = center.addObserver("N", nullptr, [&](const Notification&) {
        ++thirdCalls;
        (void)center.addObserver("N", nullptr, [](const Notification&) {}); // dropped at once
    });
    center.post("N");
    center.post("N");
    EXPECT_EQ(secondCalls, 0);
    EXPECT_EQ(thirdCalls, 2);
}
