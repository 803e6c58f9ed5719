#include "GameStart.h"

#include "CustomMessages.h"
#include "GameLoaderWnd.h"
#include "InstallRegistration.h"

#include "IsolatedEnvironment.h"

#include "Registry.h"
#include "Text.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

namespace {

using Arguments = std::vector<std::wstring>;

struct CommandLineRow {
    const char* name;
    LaunchParameters params;
    Arguments expected;
};

void PrintTo(const CommandLineRow& row, std::ostream* out) { *out << row.name; }

LaunchParameters Params(std::initializer_list<std::pair<std::wstring LaunchParameters::*, std::wstring>> values) {
    LaunchParameters params;
    params.m_strWinId = L"1050";  // the launcher's own platform window never reaches the game
    for (const auto& [member, value] : values) params.*member = value;
    return params;
}

class GameClientCommandLine : public ::testing::TestWithParam<CommandLineRow> {};

TEST_P(GameClientCommandLine, HasItsItemsInOrderEachWhole) { EXPECT_EQ(GameClientArguments(GetParam().params), GetParam().expected); }

INSTANTIATE_TEST_SUITE_P(
    Rows, GameClientCommandLine,
    ::testing::ValuesIn(std::vector<CommandLineRow>{
        {"source_and_token_and_manager", Params({{&LaunchParameters::m_strSource, L"TW"}, {&LaunchParameters::m_strToken, L"T"},
                                                 {&LaunchParameters::m_strGameMgrId, L"1050"}}),
         {L"--source=TW", L"--token=T", L"--winid=1050"}},
        {"empty_source_still_comes_first", Params({{&LaunchParameters::m_strToken, L"T"}}), {L"--source=", L"--token=T"}},
        {"manager_as_written", Params({{&LaunchParameters::m_strToken, L"T"}, {&LaunchParameters::m_strGameMgrId, L"0012"}}),
         {L"--source=", L"--token=T", L"--winid=0012"}},
        {"every_item", Params({{&LaunchParameters::m_strSource, L"TW"}, {&LaunchParameters::m_strTokenLogin, L"1"},
                               {&LaunchParameters::m_strToken, L"T"}, {&LaunchParameters::m_strTwExt, L"e"},
                               {&LaunchParameters::m_strGameMgrId, L"7"}, {&LaunchParameters::m_strTypeMode, L"1"},
                               {&LaunchParameters::m_strInstGamePath, L"/opt/My Games"},
                               {&LaunchParameters::m_strCacheGamePath, L"/var/cache/游戏"}}),
         {L"--source=TW", L"--tokenLogin=1", L"--token=T", L"--twext=e", L"--winid=7", L"--typeMode=1",
          L"--instGamePath=/opt/My Games", L"--cacheGamePath=/var/cache/游戏"}},
        {"a_value_with_spaces_adds_no_option",
         Params({{&LaunchParameters::m_strToken, L"T --token=evil"}, {&LaunchParameters::m_strTwExt, L"a b"}}),
         {L"--source=", L"--token=T --token=evil", L"--twext=a b"}},
    }),
    [](const auto& info) { return std::string(info.param.name); });

TEST(GameStart, TheOpenGameRequestHandsOverTokenAndTwext) {
    struct Row {
        const char* text;
        bool read;
        std::wstring token;
        std::wstring twext;
    };
    for (const Row& row : {Row{R"({"funcation_name":"open_game","token":"新","twext":"x"})", true, L"新", L"x"},
                           Row{R"({"token":"t2"})", true, L"t2", L"old-ext"}, Row{R"({"token":5,"twext":null})", true, L"old", L"old-ext"},
                           Row{"[1,2]", true, L"old", L"old-ext"}, Row{"5", true, L"old", L"old-ext"},
                           Row{"", false, L"old", L"old-ext"}, Row{"not json", false, L"old", L"old-ext"}}) {
        LaunchParameters params;
        params.m_strToken = L"old";
        params.m_strTwExt = L"old-ext";
        EXPECT_EQ(ReadOpenGameRequest(row.text, params), row.read) << row.text;
        EXPECT_EQ(params.m_strToken, row.token) << row.text;
        EXPECT_EQ(params.m_strTwExt, row.twext) << row.text;
    }
}

TEST(GameStart, TheGameManagerHandleIsTheDecimalText) { EXPECT_EQ(platform::HandleFromText(L"0012"), 12); }

// The uninstall entry's DisplayIcon names the launcher; its folder holds the game.
TEST(GameStart, TheInstallDirectoryComesFromTheUninstallEntry) {
    IsolatedEnvironment environment;
    const std::pair<std::wstring, std::wstring> rows[] = {
        {L"/games/vornakel/vornakel_main", L"/games/vornakel/"},
        {L"D:\\Games\\vornakel\\vornakel_main.exe", L"D:/Games/vornakel/"},
        {L"D:/Games/vornakel/vornakel_main.exe", L"D:/Games/vornakel/"},
        {L"vornakel_main.exe", L"vornakel_main.exe"},
        {L"/" + std::wstring(258, L'x'), L"/"},      // 259 characters and the terminator fit
        {L"/" + std::wstring(259, L'x'), L""},       // one more does not
    };
    for (const auto& [displayIcon, expected] : rows) {
        platform::HKEY key = nullptr;
        ASSERT_EQ(platform::RegCreateKeyExW(platform::HKEY_CURRENT_USER, UninstallKeyPath(L"vornakel").c_str(),
                                            platform::KEY_ALL_ACCESS, &key),
                  platform::ERROR_SUCCESS);
        const std::vector<platform::BYTE> bytes = platform::RegStringBytes(displayIcon);
        platform::RegSetValueExW(key, L"DisplayIcon", platform::REG_SZ, bytes.data(), static_cast<platform::DWORD>(bytes.size()));
        platform::RegCloseKey(key);
        EXPECT_EQ(GetGameInstallDir(L"vornakel"), expected) << platform::WideToUtf8(displayIcon);
    }
    platform::RegDeleteTreeW(platform::HKEY_CURRENT_USER, UninstallKeyPath(L"vornakel").c_str());
    EXPECT_EQ(GetGameInstallDir(L"vornakel"), L"");
}

TEST(InstallRegistration, TheInstallDirectoryIsJoinedAsItIs) {
    EXPECT_EQ(InstallDirectory(L"/games", L"vornakel"), L"/games/vornakel");
    EXPECT_EQ(InstallDirectory(L"/games/", L"vornakel"), L"/games//vornakel");
    EXPECT_EQ(InstallDirectory(L"", L"vornakel"), L"/opt/vornakel");
}

// The window registers the unpacked game: the uninstall entry written anew, and the link on
// the desktop unless the platform started the launcher.
class Registration : public ::testing::Test {
protected:
    // Runs the unpacked handler of a window started with the command.
    void Unpack(const std::wstring& cmdJson) {
        auto* window = new GameLoaderWnd(cmdJson);
        const platform::HWND hwnd = window->Create(0, L"Kaldrenmoor", 0x10CF0000, 0);
        ASSERT_NE(hwnd, 0);
        platform::SendMessageW(hwnd, WM_LAUNCHER_UNPACKED, 0, 0);
        platform::DestroyWindow(hwnd);
        platform::QueuedMSG message;
        while (platform::GetMessageW(&message) != 0) platform::DispatchMessageW(&message);
    }
    std::vector<platform::RegistryValue> Values() {
        platform::HKEY key = nullptr;
        std::vector<platform::RegistryValue> values;
        if (platform::RegOpenKeyExW(platform::HKEY_CURRENT_USER, UninstallKeyPath(L"vornakel").c_str(), 0, platform::KEY_READ,
                                    &key) == platform::ERROR_SUCCESS) {
            platform::RegListValues(key, values);
            platform::RegCloseKey(key);
        }
        return values;
    }
    platform::DWORD ByteCount(const wchar_t* name) {
        platform::HKEY key = nullptr;
        platform::RegOpenKeyExW(platform::HKEY_CURRENT_USER, UninstallKeyPath(L"vornakel").c_str(), 0, platform::KEY_READ, &key);
        platform::DWORD size = 0;
        platform::RegQueryValueExW(key, name, nullptr, nullptr, &size);
        platform::RegCloseKey(key);
        return size;
    }
    std::string Link() const { return m_environment.Root() + "/home/Desktop/Kaldrenmoor.desktop"; }
    IsolatedEnvironment m_environment;
};

TEST_F(Registration, WritesTheFiveValuesInOrderAndTheDesktopEntry) {
    platform::HKEY key = nullptr;
    platform::RegCreateKeyExW(platform::HKEY_CURRENT_USER, UninstallKeyPath(L"vornakel").c_str(), platform::KEY_ALL_ACCESS, &key);
    const std::vector<platform::BYTE> old = platform::RegStringBytes(L"bag-42");
    platform::RegSetValueExW(key, L"FileParam", platform::REG_SZ, old.data(), static_cast<platform::DWORD>(old.size()));
    platform::RegCloseKey(key);
    EXPECT_EQ(GetBagFileParam(L"vornakel"), L"bag-42");

    const std::string install = m_environment.Root() + "/My Games";
    for (int time = 0; time < 2; ++time) {  // twice gives the same state
        Unpack(L"{\"source\":\"QQ\",\"instGamePath\":\"" + platform::Utf8ToWide(install) + L"\"}");
        const std::vector<platform::RegistryValue> values = Values();
        ASSERT_EQ(values.size(), 5u);
        const std::wstring directory = platform::Utf8ToWide(install) + L"/vornakel";
        const std::pair<std::wstring, std::wstring> expected[] = {
            {L"DisplayVersion", L"3.8.0.1"},
            {L"DisplayIcon", directory + L"/vornakel_main"},
            {L"DisplayName", L"Kaldrenmoor"},
            {L"Publisher", L""},
            {L"UninstallString", directory + L"/VornakelGameLauncherUninst"},
        };
        for (std::size_t i = 0; i < values.size(); ++i) {
            EXPECT_EQ(values[i].name, expected[i].first);
            EXPECT_EQ(values[i].type, platform::REG_SZ);
            EXPECT_EQ(values[i].text, expected[i].second);
        }
        EXPECT_EQ(ByteCount(L"DisplayVersion"), 16u);
        EXPECT_EQ(ByteCount(L"Publisher"), 2u);
        EXPECT_EQ(GetBagFileParam(L"vornakel"), L"");  // the whole key was written anew
        EXPECT_EQ(GetGameInstallDir(L"vornakel"), directory + L"/");

        const std::string link = ReadWholeFile(Link());
        EXPECT_EQ(link, "[Desktop Entry]\nType=Application\nName=Kaldrenmoor\nExec=\"" + install +
                            "/vornakel/vornakel_main\"\nPath=" + install + "/vornakel\nIcon=vornakel_main\nStartupWMClass=vornakel_main\n");
        struct stat info {};
        ASSERT_EQ(stat(Link().c_str(), &info), 0);
        EXPECT_NE(info.st_mode & S_IXUSR, 0u);
        EXPECT_EQ(std::system(("desktop-file-validate '" + Link() + "'").c_str()), 0);
        EXPECT_TRUE(std::filesystem::exists(m_environment.DataHome() + "/icons/hicolor/128x128/apps/vornakel_main.png"));
    }
}

TEST_F(Registration, ThePlatformsOwnStartLeavesNoDesktopEntry) {
    std::filesystem::create_directories(m_environment.Root() + "/home/Desktop");
    WriteWholeFile(Link(), "[Desktop Entry]\nType=Application\nName=old\nExec=old\n");
    ASSERT_TRUE(std::filesystem::exists(Link()));
    Unpack(L"{\"source\":\"TW\",\"instGamePath\":\"/games\"}");
    EXPECT_FALSE(std::filesystem::exists(Link()));
    EXPECT_EQ(Values().size(), 5u);
    Unpack(L"{\"source\":\"tw\",\"instGamePath\":\"/games\"}");
    EXPECT_TRUE(std::filesystem::exists(Link()));
}

}  // namespace
