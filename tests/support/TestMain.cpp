#include "tests/support/FreshPlatformContext.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // Listeners are owned by GoogleTest once appended.
    ::testing::UnitTest::GetInstance()->listeners().Append(
        new testing_support::FreshPlatformContext());
    return RUN_ALL_TESTS();
}
