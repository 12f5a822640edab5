#include <gtest/gtest.h>

#include "platform/text/regional.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // Results never depend on the locale of the machine the tests run on.
    kw::SetRegionalLocale("en_US");
    return RUN_ALL_TESTS();
}
