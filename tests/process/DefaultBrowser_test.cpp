// Web addresses reach the desktop's default browser; nothing else reaches anything. The
// "browser" is a stand-in desktop entry, registered in a temporary XDG tree, that records
// each address it is given.
#include "ChildProcess.h"
#include "IsolatedEnvironment.h"

#include "DefaultBrowser.h"

#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <thread>

namespace {

const std::string kHost = std::string(VK_BIN_DIR) + "/open-url-host";

class DefaultBrowser : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string applications = m_environment.DataHome() + "/applications";
        std::filesystem::create_directories(applications);
        WriteWholeFile(applications + "/stand-in-browser.desktop",
                       "[Desktop Entry]\nType=Application\nName=Stand-in browser\n"
                       "Exec=/bin/sh -c 'printf \"%%s\\\\n\" \"$1\" >> \"" + Record() + "\"' browser %u\n"
                       "MimeType=x-scheme-handler/http;x-scheme-handler/https;x-scheme-handler/file;x-scheme-handler/custom;\n");
        WriteWholeFile(m_environment.Root() + "/config/mimeapps.list",
                       "[Default Applications]\nx-scheme-handler/http=stand-in-browser.desktop\n"
                       "x-scheme-handler/https=stand-in-browser.desktop\nx-scheme-handler/file=stand-in-browser.desktop\n"
                       "x-scheme-handler/custom=stand-in-browser.desktop\ntext/plain=stand-in-browser.desktop\n");
    }
    std::string Record() const { return m_environment.Root() + "/opened.txt"; }
    std::string WaitForRecord(std::size_t lines) const {
        for (int i = 0; i < 300; ++i) {
            const std::string text = ReadWholeFile(Record());
            if (static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) >= lines) return text;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return ReadWholeFile(Record());
    }
    IsolatedEnvironment m_environment;
};

TEST_F(DefaultBrowser, WebAddressesAreHandedOn) {
    EXPECT_EQ(RunToEnd(kHost, {"https://pay.example/order?id=42&sum=6"}, m_environment.Root()), 0);
    EXPECT_EQ(RunToEnd(kHost, {"HTTP://news.example/"}, m_environment.Root()), 0);
    EXPECT_EQ(WaitForRecord(2), "https://pay.example/order?id=42&sum=6\nHTTP://news.example/\n");
}

TEST_F(DefaultBrowser, NothingElseReachesAHandler) {
    for (const char* address : {"file:///etc/passwd", "custom://run", "javascript:alert(1)", "data:text/html,x",
                                "/usr/bin/xterm", "--help", "smb://server/share", "http://", "https:///path",
                                "http://a b", "https://@/", "http://:@", "http://\x01\x02/", "https://a.example/\v",
                                "https://a.example/\f", "https://a.example/\u2028x", "https://a\u00a0b.example/",
                                "https://a.example/\u200b", "https://a.example/\t"}) {
        EXPECT_EQ(RunToEnd(kHost, {address}, m_environment.Root()), 1) << address;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_EQ(ReadWholeFile(Record()), "");
}

TEST(WebAddress, OnlyHttpAndHttpsWithAHost) {
    EXPECT_TRUE(platform::IsWebAddress(L"https://a.example"));
    EXPECT_TRUE(platform::IsWebAddress(L"http://127.0.0.1:8080/x"));
    EXPECT_FALSE(platform::IsWebAddress(L"https://"));
    EXPECT_FALSE(platform::IsWebAddress(L"ftp://a.example"));
    EXPECT_FALSE(platform::IsWebAddress(L"-http://a.example"));
    EXPECT_FALSE(platform::IsWebAddress(L""));
    EXPECT_TRUE(platform::IsWebAddress(L"https://用户@例子.测试/路径?q=1#f"));
    EXPECT_FALSE(platform::IsWebAddress(L"https://@/"));
    EXPECT_FALSE(platform::IsWebAddress(L"http://:@"));
    EXPECT_FALSE(platform::IsWebAddress(L"https://a.example/\u3000"));
    EXPECT_FALSE(platform::IsWebAddress(L"https://a.example/\ufeff"));
    EXPECT_FALSE(platform::IsWebAddress(std::wstring(L"https://a.example/") + wchar_t(0x110000)));
}

}  // namespace
