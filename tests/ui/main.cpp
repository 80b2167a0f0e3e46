#include <gtest/gtest.h>

#include "harness.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    testing::AddGlobalTestEnvironment(zarvi::test::newProgramEnvironment());
    return RUN_ALL_TESTS();
}
