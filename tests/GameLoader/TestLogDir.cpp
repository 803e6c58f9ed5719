// The launcher's log of the unit tests goes to the isolated data folder of the test run,
// never to the folder the tests run in.
#include "Logger.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

class IsolatedLog : public ::testing::Environment {
public:
    void SetUp() override {
        const std::filesystem::path folder = std::filesystem::path(std::getenv("XDG_DATA_HOME")) / "Tidewell" / "Log";
        std::filesystem::create_directories(folder);
        LogDir = folder.string() + "/";
    }
};

const auto* const g_isolatedLog = ::testing::AddGlobalTestEnvironment(new IsolatedLog());

}  // namespace
