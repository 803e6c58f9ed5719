#include "IsolatedEnvironment.h"

#include "Text.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    platform::InitProcessLocale();
    ::testing::InitGoogleTest(&argc, argv);
    // A process-wide isolation first, so even a test that forgets its own never touches
    // the real home folder.
    IsolatedEnvironment environment;
    return RUN_ALL_TESTS();
}
