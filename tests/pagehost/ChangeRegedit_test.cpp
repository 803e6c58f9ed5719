// The browser emulation setting, through the library as a host loads it, against the real
// registry store in a temporary XDG tree.
#include "ChildProcess.h"
#include "IsolatedEnvironment.h"

#include "Registry.h"

#include <gtest/gtest.h>

namespace {

using namespace platform;

constexpr wchar_t kEmulationKey[] = L"SOFTWARE\\Microsoft\\Internet Explorer\\MAIN\\FeatureControl\\FEATURE_BROWSER_EMULATION";
const std::string kBin = VK_BIN_DIR;

class ChangeRegedit : public ::testing::Test {
protected:
    void SetVersion(const std::optional<std::string>& version) {
        std::vector<std::string> arguments = {"add", "HKLM\\SOFTWARE\\Microsoft\\Internet Explorer", "/f"};
        if (version) arguments.insert(arguments.end(), {"/v", "svcVersion", "/d", *version});
        ASSERT_EQ(RunToEnd(kBin + "/reg", arguments, m_environment.Root()), 0);
    }
    void CreateEmulationKey() {
        ASSERT_EQ(RunToEnd(kBin + "/reg", {"add", "HKCU\\SOFTWARE\\Microsoft\\Internet Explorer\\MAIN\\FeatureControl\\FEATURE_BROWSER_EMULATION", "/f"},
                           m_environment.Root()),
                  0);
    }
    void Call(const std::string& option) {
        ASSERT_EQ(RunToEnd(kBin + "/pagehost-host", {option}, m_environment.Root()), 0);
    }
    // The DWORD stored under the name, or nullopt.
    std::optional<DWORD> Level(const wchar_t* name) {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, kEmulationKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return std::nullopt;
        DWORD value = 0;
        DWORD size = sizeof(value);
        DWORD type = 0;
        const LONG status = RegQueryValueExW(key, name, &type, reinterpret_cast<BYTE*>(&value), &size);
        RegCloseKey(key);
        if (status != ERROR_SUCCESS || type != REG_DWORD) return std::nullopt;
        return value;
    }
    IsolatedEnvironment m_environment;
};

struct VersionRow {
    std::optional<std::string> version;
    std::optional<DWORD> level;
};

TEST_F(ChangeRegedit, LevelFollowsTheInstalledMajorVersion) {
    const VersionRow rows[] = {
        {"11.0.19041.1", 11001}, {"10.0.9200.16384", 10000}, {"9.0.1", 9000}, {"8.0", 8000},
        {"12.0", std::nullopt},  {"11", std::nullopt},        {"", std::nullopt}, {std::nullopt, std::nullopt},
        {" 11.5", 11001},        {std::string(40, '1') + ".0", std::nullopt},  // longer than the 64-byte buffer
    };
    CreateEmulationKey();
    for (const VersionRow& row : rows) {
        // Start each row from no version and no level (either may be absent already).
        RunToEnd(kBin + "/reg", {"delete", "HKLM\\SOFTWARE", "/f"}, m_environment.Root());
        RunToEnd(kBin + "/reg", {"delete", "HKCU\\SOFTWARE\\Microsoft\\Internet Explorer\\MAIN\\FeatureControl\\FEATURE_BROWSER_EMULATION", "/v", "host.exe", "/f"},
                 m_environment.Root());
        SetVersion(row.version);
        Call("--emulation=host.exe");
        EXPECT_EQ(Level(L"host.exe"), row.level) << (row.version ? *row.version : "(no value)");
    }
}

TEST_F(ChangeRegedit, TheFeatureKeyIsNeverCreated) {
    SetVersion("11.0.19041.1");
    Call("--emulation=host.exe");
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, kEmulationKey, 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
}

TEST_F(ChangeRegedit, RepeatsOverwriteAndEmptyOrNullNamesWriteTheDefaultValue) {
    SetVersion("11.0.19041.1");
    CreateEmulationKey();
    Call("--emulation=游戏.exe");
    Call("--emulation=游戏.exe");
    EXPECT_EQ(Level(L"游戏.exe"), 11001u);
    Call("--emulation=");
    EXPECT_EQ(Level(nullptr), 11001u);
    ASSERT_EQ(RunToEnd(kBin + "/reg", {"delete", "HKCU\\SOFTWARE\\Microsoft\\Internet Explorer\\MAIN\\FeatureControl\\FEATURE_BROWSER_EMULATION", "/ve", "/f"},
                       m_environment.Root()),
              0);
    Call("--emulation-null");
    EXPECT_EQ(Level(L""), 11001u);
    std::string output;
    EXPECT_EQ(RunToEnd(kBin + "/reg", {"query", "HKCU\\SOFTWARE\\Microsoft\\Internet Explorer\\MAIN\\FeatureControl\\FEATURE_BROWSER_EMULATION"},
                       m_environment.Root(), &output),
              0);
    EXPECT_NE(output.find("    游戏.exe    REG_DWORD    0x2af9\n"), std::string::npos) << output;
    EXPECT_NE(output.find("    (Default)    REG_DWORD    0x2af9\n"), std::string::npos) << output;
}

}  // namespace
