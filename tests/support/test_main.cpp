#include <gtest/gtest.h>

#include "board/tables.h"

int main(int argc, char** argv) {
    zarvi::buildTables();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
