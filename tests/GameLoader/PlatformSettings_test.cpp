#include "PlatformSettings.h"

#include "IsolatedEnvironment.h"

#include "Text.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class Settings : public ::testing::Test {
protected:
    void SetUp() override {
        m_strPath = platform::Utf8ToWide(m_environment.Root() + "/设置/setting.xml");
        std::filesystem::create_directories(m_environment.Root() + "/设置");
    }
    std::string Narrow() const { return platform::WideToUtf8(m_strPath); }
    std::string Content() const { return ReadWholeFile(Narrow()); }

    IsolatedEnvironment m_environment;
    std::wstring m_strPath;
};

TEST_F(Settings, FirstWritesCreateTheFileInTinyXmlLayout) {
    ASSERT_TRUE(SetPlatformWindowId(L"1050", m_strPath));
    EXPECT_EQ(Content(), "<settings>\n    <twwindowid>1050</twwindowid>\n</settings>\n");
    ASSERT_TRUE(SetLoginSource(L"TW", m_strPath));
    EXPECT_EQ(Content(),
              "<settings>\n    <twwindowid>1050</twwindowid>\n    <loginsource>TW</loginsource>\n</settings>\n");
    ASSERT_TRUE(SetPlatformWindowId(L"2060", m_strPath));  // replaced in place
    EXPECT_EQ(Content(),
              "<settings>\n    <twwindowid>2060</twwindowid>\n    <loginsource>TW</loginsource>\n</settings>\n");
    std::wstring value = L"caller";
    ASSERT_TRUE(GetPlatformWindowId(m_strPath, value));
    EXPECT_EQ(value, L"2060");
}

TEST_F(Settings, EmptyValueReadsAsPresentWithoutChangingTheOutput) {
    ASSERT_TRUE(SetLoginSource(L"", m_strPath));
    std::wstring value = L"caller";
    EXPECT_TRUE(GetLoginSource(m_strPath, value));
    EXPECT_EQ(value, L"caller");
    EXPECT_FALSE(GetPlatformWindowId(m_strPath, value));
    EXPECT_EQ(value, L"caller");
}

TEST_F(Settings, ExistingRootOfAnotherNameAndOtherContentAreKept) {
    WriteWholeFile(Narrow(), "<?xml version=\"1.0\" ?>\r\n<!-- kept -->\r\n<config a=\"1\"><other>x</other>"
                             "<loginsource>old</loginsource><loginsource>second</loginsource></config>");
    ASSERT_TRUE(SetLoginSource(L"TW", m_strPath));
    ASSERT_TRUE(SetPlatformWindowId(L"7", m_strPath));
    EXPECT_EQ(Content(), "<?xml version=\"1.0\" ?>\n<!-- kept -->\n<config a=\"1\">\n    <other>x</other>\n"
                         "    <loginsource>TW</loginsource>\n    <loginsource>second</loginsource>\n"
                         "    <twwindowid>7</twwindowid>\n</config>\n");
}

TEST_F(Settings, BrokenFilesAreNeverRepairedOrOverwritten) {
    const std::string rows[] = {"", "<!-- only a comment -->", "<settings><twwindowid>1</settings>",
                                std::string(100000, '<'), "<a>" + std::string(3, '\0') + "</a>",
                                [] {
                                    std::string deep;
                                    for (int i = 0; i < 100000; ++i) deep += "<a>";
                                    return deep;
                                }(),
                                // A UTF-8 lead byte cut off at the end once made the XML library read
                                // past the end of the text.
                                "<?xml version=\"1.0\" encoding=\"utf-8\"?><settings><a\xe6\xad",
                                // Larger than any settings file: refused before it is parsed.
                                "<settings>" + std::string(5u << 20, ' ') + "</settings>"};
    for (const std::string& content : rows) {
        WriteWholeFile(Narrow(), content);
        std::wstring value = L"caller";
        EXPECT_FALSE(SetLoginSource(L"TW", m_strPath)) << content.substr(0, 40);
        EXPECT_FALSE(SetPlatformWindowId(L"1", m_strPath));
        EXPECT_FALSE(GetLoginSource(m_strPath, value));
        EXPECT_EQ(value, L"caller");
        EXPECT_TRUE(Content() == content) << "file changed";
    }
}

TEST_F(Settings, SaveIsAtomicAndRespectsAReadOnlyFile) {
    ASSERT_TRUE(SetPlatformWindowId(L"1", m_strPath));
    for (const auto& entry : std::filesystem::directory_iterator(m_environment.Root() + "/设置")) {
        EXPECT_EQ(entry.path().filename(), "setting.xml") << "temporary file left behind";
    }
    if (geteuid() != 0) {
        chmod(Narrow().c_str(), 0444);
        EXPECT_FALSE(SetPlatformWindowId(L"2", m_strPath));
        std::wstring value;
        ASSERT_TRUE(GetPlatformWindowId(m_strPath, value));
        EXPECT_EQ(value, L"1");
    }
    EXPECT_FALSE(SetLoginSource(L"TW", platform::Utf8ToWide(m_environment.Root() + "/missing/setting.xml")));
}

TEST_F(Settings, PathIsInThePlatformFolderOfTheDataHome) {
    EXPECT_EQ(platform::WideToUtf8(SettingsPath()), std::string(getenv("XDG_DATA_HOME")) + "/Tidewell/setting.xml");
    struct stat info {};
    EXPECT_EQ(stat((std::string(getenv("XDG_DATA_HOME")) + "/Tidewell").c_str(), &info), 0);
}

}  // namespace
