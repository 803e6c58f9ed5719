// The programs under locales whose character set is not UTF-8, made with localedef in a
// temporary folder: a value whose characters exist in the locale's character set survives
// every conversion on its way.
#include "ChildProcess.h"
#include "HttpTestServer.h"
#include "IsolatedEnvironment.h"


#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

namespace {

const std::string kBin = VK_BIN_DIR;

class Locale : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_folder = new IsolatedEnvironment();
        for (const auto& [source, charset] : {std::pair{"zh_CN", "GBK"}, std::pair{"en_US", "ISO-8859-1"}}) {
            const std::string target = s_folder->Root() + "/" + source + "." + charset;
            const std::string command = std::string("localedef -i ") + source + " -f " + charset + " " + target + " 2>/dev/null";
            ASSERT_EQ(std::system(command.c_str()), 0) << command;
        }
    }
    static void TearDownTestSuite() {
        delete s_folder;
        s_folder = nullptr;
    }
    // The children started meanwhile run in this locale.
    void UseLocale(const std::string& name) {
        setenv("LOCPATH", s_folder->Root().c_str(), 1);
        setenv("LC_ALL", name.c_str(), 1);
    }
    void TearDown() override {
        unsetenv("LOCPATH");
        unsetenv("LC_ALL");
    }
    std::string Log() const {
        return ReadWholeFile(m_environment.LauncherLogPath());
    }
    // Starts the launcher with the winid given in the locale's bytes and returns the settings
    // file once the launcher has read its command.
    std::string SettingsAfterStart(const std::string& winid) {
        ChildProcess launcher(kBin + "/vornakel_main", {"--source=TW", "--winid=" + winid, "--token=t"}, m_environment.Root());
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (Log().find("m_strCmdJson is:") == std::string::npos && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        launcher.Terminate();
        launcher.Wait(10000);
        return ReadWholeFile(m_environment.DataHome() + "/Tidewell/setting.xml");
    }

    static IsolatedEnvironment* s_folder;
    IsolatedEnvironment m_environment;
};

IsolatedEnvironment* Locale::s_folder = nullptr;

TEST_F(Locale, LaunchParametersInGbkSurviveTheCommandText) {
    UseLocale("zh_CN.GBK");
    SettingsAfterStart("\xD6\xD0\xCE\xC4");
    const std::string settings = ReadWholeFile(m_environment.DataHome() + "/Tidewell/setting.xml");
    EXPECT_NE(settings.find("<twwindowid>中文</twwindowid>"), std::string::npos) << settings;
    EXPECT_NE(Log().find("m_strCmdJson is:{\"source\":\"TW\",\"token\":\"<redacted, 1 chars>\",\"winid\":\"\\u4e2d\\u6587\"}"),
              std::string::npos)
        << Log();
}

TEST_F(Locale, LaunchParametersInLatin1SurviveTheCommandText) {
    UseLocale("en_US.ISO-8859-1");
    const std::string settings = SettingsAfterStart("caf\xE9");
    EXPECT_NE(settings.find("<twwindowid>café</twwindowid>"), std::string::npos) << settings;
    // The log speaks the locale's character set.
    EXPECT_NE(Log().find("szArgList:--winid=caf\xE9"), std::string::npos) << Log();
}

TEST_F(Locale, TheDialogLibraryConvertsWithItsHostsLocale) {
    ASSERT_EQ(RunToEnd(kBin + "/reg", {"add", "HKLM\\SOFTWARE\\Microsoft\\Internet Explorer", "/v", "svcVersion", "/d", "11.0.1", "/f"},
                       m_environment.Root()),
              0);
    ASSERT_EQ(RunToEnd(kBin + "/reg", {"add", "HKCU\\SOFTWARE\\Microsoft\\Internet Explorer\\MAIN\\FeatureControl\\FEATURE_BROWSER_EMULATION", "/f"},
                       m_environment.Root()),
              0);
    UseLocale("en_US.ISO-8859-1");
    ASSERT_EQ(RunToEnd(kBin + "/pagehost-host", {"--emulation=caf\xE9.exe"}, m_environment.Root()), 0);
    const std::string hive = ReadWholeFile(m_environment.Root() + "/config/tidewell/HKEY_CURRENT_USER.reg");
    EXPECT_NE(hive.find("\"café.exe\"=dword:00002af9"), std::string::npos) << hive;
}

TEST_F(Locale, TheSdkConvertsWithItsHostsLocale) {
    HttpTestServer gateway(15002, 200, "{\"retCode\":0}");
    ASSERT_TRUE(gateway.IsListening());
    UseLocale("en_US.ISO-8859-1");
    std::string output;
    EXPECT_EQ(RunToEnd(kBin + "/cloudsdk-host", {"--userID=caf\xE9", "--pay=https://pay.example/2"}, m_environment.Root(), &output,
                       60000),
              0);
    EXPECT_EQ(output, "GetTokenBuff=0 token=\nGoPayUrl=1\n");
    const std::vector<HttpTestServer::Request> requests = gateway.Requests();
    ASSERT_EQ(requests.size(), 1u);
    // The user ID in the host's own character set, as the host gave it.
    EXPECT_EQ(requests[0].body.rfind("{\"userID\":\"caf\xE9\",", 0), 0u) << requests[0].body;
}

}  // namespace
