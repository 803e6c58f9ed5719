// The reg command over the real hive files.
#include "ChildProcess.h"
#include "IsolatedEnvironment.h"

#include <gtest/gtest.h>

namespace {

const std::string kReg = std::string(VK_BIN_DIR) + "/reg";

class RegTool : public ::testing::Test {
protected:
    int Reg(const std::vector<std::string>& arguments, std::string* output = nullptr) {
        return RunToEnd(kReg, arguments, m_environment.Root(), output);
    }
    IsolatedEnvironment m_environment;
};

TEST_F(RegTool, AddQueryDelete) {
    const std::string key = "HKCU\\SOFTWARE\\Microsoft\\Internet Explorer\\MAIN\\FeatureControl\\FEATURE_BROWSER_EMULATION";
    EXPECT_EQ(Reg({"add", key, "/v", "host.exe", "/t", "REG_DWORD", "/d", "11001", "/f"}), 0);
    EXPECT_EQ(Reg({"add", key, "/ve", "/d", "默认", "/f"}), 0);
    std::string output;
    EXPECT_EQ(Reg({"query", key}, &output), 0);
    EXPECT_EQ(output, "\nHKEY_CURRENT_USER\\SOFTWARE\\Microsoft\\Internet Explorer\\MAIN\\FeatureControl\\FEATURE_BROWSER_EMULATION\n"
                      "    host.exe    REG_DWORD    0x2af9\n    (Default)    REG_SZ    默认\n\n");
    EXPECT_EQ(Reg({"query", key, "/v", "HOST.EXE"}, &output), 0);
    EXPECT_NE(output.find("host.exe    REG_DWORD    0x2af9"), std::string::npos);
    EXPECT_EQ(Reg({"query", key, "/v", "other.exe"}), 1);
    EXPECT_EQ(Reg({"delete", key, "/v", "host.exe", "/f"}), 0);
    EXPECT_EQ(Reg({"query", key, "/v", "host.exe"}), 1);
    EXPECT_EQ(Reg({"delete", "HKCU\\SOFTWARE", "/f"}), 0);
    EXPECT_EQ(Reg({"query", key}), 1);
}

TEST_F(RegTool, MachineHiveAndBadCommands) {
    EXPECT_EQ(Reg({"add", "HKLM\\SOFTWARE\\Microsoft\\Internet Explorer", "/v", "svcVersion", "/d", "11.0.19041.1", "/f"}), 0);
    std::string output;
    EXPECT_EQ(Reg({"query", "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Internet Explorer", "/v", "svcVersion"}, &output), 0);
    EXPECT_NE(output.find("svcVersion    REG_SZ    11.0.19041.1"), std::string::npos);
    EXPECT_EQ(Reg({"query", "HKCR\\x"}), 2);
    EXPECT_EQ(Reg({"add", "HKCU\\x", "/t", "REG_BINARY"}), 2);
    EXPECT_EQ(Reg({"add", "HKCU\\x", "/v", "n", "/t", "REG_DWORD", "/d", "12z"}), 2);
}

}  // namespace
