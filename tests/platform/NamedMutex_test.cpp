#include "NamedMutex.h"

#include <gtest/gtest.h>

namespace {

TEST(NamedMutex, ExistsWhileTheFirstHolderLives) {
    {
        platform::NamedMutex first(L"vornakel_main.exe");
        EXPECT_EQ(first.LastError(), 0u);
        first.ReleaseMutex();  // giving up ownership keeps the name
        platform::NamedMutex second(L"vornakel_main.exe");
        EXPECT_EQ(second.LastError(), platform::ERROR_ALREADY_EXISTS);
        platform::NamedMutex other(L"another/name");
        EXPECT_EQ(other.LastError(), 0u);
    }
    platform::NamedMutex after(L"vornakel_main.exe");
    EXPECT_EQ(after.LastError(), 0u);
}

}  // namespace
