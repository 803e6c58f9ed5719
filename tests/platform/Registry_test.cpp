#include "Registry.h"

#include "IsolatedEnvironment.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using namespace platform;

std::vector<BYTE> Utf16Bytes(const std::u16string& text) {
    std::vector<BYTE> bytes;
    for (const char16_t unit : text) {
        bytes.push_back(static_cast<BYTE>(unit & 0xFF));
        bytes.push_back(static_cast<BYTE>(unit >> 8));
    }
    return bytes;
}

class Registry : public ::testing::Test {
protected:
    HKEY Create(const wchar_t* path, REGSAM access = KEY_ALL_ACCESS) {
        HKEY key = nullptr;
        EXPECT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, path, access, &key), ERROR_SUCCESS);
        return key;
    }
    IsolatedEnvironment m_environment;
};

TEST_F(Registry, StringsAreStoredByByteCountAndReadBackWithTheirTerminator) {
    HKEY key = Create(L"SOFTWARE\\Vornakel");
    const std::vector<BYTE> written = Utf16Bytes(u"D:\\游戏");
    ASSERT_EQ(RegSetValueExW(key, L"InstallPath", REG_SZ, written.data(), static_cast<DWORD>(written.size())), ERROR_SUCCESS);

    DWORD type = 0;
    DWORD size = 0;
    ASSERT_EQ(RegQueryValueExW(key, L"installpath", &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(size, 2u * (5 + 1));

    std::vector<BYTE> buffer(size - 1, 0xAA);
    DWORD small = static_cast<DWORD>(buffer.size());
    EXPECT_EQ(RegQueryValueExW(key, L"InstallPath", &type, buffer.data(), &small), ERROR_MORE_DATA);
    EXPECT_EQ(small, size);

    buffer.assign(size, 0xAA);
    ASSERT_EQ(RegQueryValueExW(key, L"InstallPath", &type, buffer.data(), &size), ERROR_SUCCESS);
    std::vector<BYTE> expected = written;
    expected.push_back(0);
    expected.push_back(0);
    EXPECT_EQ(buffer, expected);
    RegCloseKey(key);
}

TEST_F(Registry, DwordsAndTheDefaultValue) {
    HKEY key = Create(L"SOFTWARE\\Emulation");
    const DWORD level = 11001;
    ASSERT_EQ(RegSetValueExW(key, nullptr, REG_DWORD, reinterpret_cast<const BYTE*>(&level), 4), ERROR_SUCCESS);
    DWORD read = 0;
    DWORD size = sizeof(read);
    DWORD type = 0;
    ASSERT_EQ(RegQueryValueExW(key, L"", &type, reinterpret_cast<BYTE*>(&read), &size), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_DWORD);
    EXPECT_EQ(read, level);
    EXPECT_EQ(RegSetValueExW(key, L"short", REG_DWORD, reinterpret_cast<const BYTE*>(&level), 3), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegDeleteValueW(key, nullptr), ERROR_SUCCESS);
    EXPECT_EQ(RegQueryValueExW(key, nullptr, &type, nullptr, &size), ERROR_FILE_NOT_FOUND);
    RegCloseKey(key);
}

TEST_F(Registry, OpenNeverCreatesAndAccessIsChecked) {
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"SOFTWARE\\Missing", 0, KEY_WRITE, &key), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"SOFTWARE\\Missing", 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);

    DWORD disposition = 0;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"SOFTWARE\\A\\B", KEY_READ, &key, &disposition), ERROR_SUCCESS);
    EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
    const DWORD one = 1;
    EXPECT_EQ(RegSetValueExW(key, L"v", REG_DWORD, reinterpret_cast<const BYTE*>(&one), 4), ERROR_ACCESS_DENIED);
    RegCloseKey(key);
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"software\\a\\b", KEY_WRITE, &key, &disposition), ERROR_SUCCESS);
    EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);
    DWORD size = 4;
    DWORD value = 0;
    EXPECT_EQ(RegQueryValueExW(key, L"v", nullptr, reinterpret_cast<BYTE*>(&value), &size), ERROR_ACCESS_DENIED);
    RegCloseKey(key);
    // Parents exist by implication.
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"SOFTWARE\\A", 0, KEY_READ, &key), ERROR_SUCCESS);
    RegCloseKey(key);
}

TEST_F(Registry, DeleteTreeRemovesEverythingBelow) {
    RegCloseKey(Create(L"SOFTWARE\\Uninstall\\vornakel\\Sub"));
    RegCloseKey(Create(L"SOFTWARE\\Uninstall\\vornakel2"));
    ASSERT_EQ(RegDeleteTreeW(HKEY_CURRENT_USER, L"SOFTWARE\\Uninstall\\vornakel"), ERROR_SUCCESS);
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"SOFTWARE\\Uninstall\\vornakel\\Sub", 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"SOFTWARE\\Uninstall\\vornakel2", 0, KEY_READ, &key), ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_EQ(RegDeleteTreeW(HKEY_CURRENT_USER, L"SOFTWARE\\Uninstall\\vornakel"), ERROR_FILE_NOT_FOUND);
}

TEST_F(Registry, ADamagedHiveIsNeverOverwritten) {
    RegCloseKey(Create(L"SOFTWARE"));
    const std::string path = RegistryHivePath(HKEY_CURRENT_USER);
    const std::string damaged = "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\A]\n\"v\"=hex:00\n";
    WriteWholeFile(path, damaged);
    HKEY key = nullptr;
    EXPECT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"SOFTWARE\\B", KEY_ALL_ACCESS, &key), ERROR_BADDB);
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"A", 0, KEY_READ, &key), ERROR_BADDB);
    EXPECT_EQ(RegDeleteTreeW(HKEY_CURRENT_USER, L"A"), ERROR_BADDB);
    EXPECT_EQ(ReadWholeFile(path), damaged);
}

TEST_F(Registry, AnUnrelatedValueThatIsNotUtf8IsKeptByteForByte) {
    RegCloseKey(Create(L"SOFTWARE"));
    const std::string path = RegistryHivePath(HKEY_CURRENT_USER);
    const std::string other = "[HKEY_CURRENT_USER\\Other]\n\"bytes\"=\"\xFF\xFE legacy \xC3\"\n";
    WriteWholeFile(path, "Windows Registry Editor Version 5.00\n\n" + other);
    HKEY key = Create(L"SOFTWARE\\Mine");
    const DWORD one = 1;
    ASSERT_EQ(RegSetValueExW(key, L"v", REG_DWORD, reinterpret_cast<const BYTE*>(&one), 4), ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_NE(ReadWholeFile(path).find(other), std::string::npos) << ReadWholeFile(path);
}

TEST_F(Registry, TwoProcessesWritingAtOnceKeepBothValues) {
    RegCloseKey(Create(L"SOFTWARE\\Shared"));
    constexpr int kWrites = 40;
    pid_t children[2];
    for (int child = 0; child < 2; ++child) {
        children[child] = fork();
        if (children[child] == 0) {
            HKEY key = nullptr;
            if (RegOpenKeyExW(HKEY_CURRENT_USER, L"SOFTWARE\\Shared", 0, KEY_WRITE, &key) != ERROR_SUCCESS) _exit(1);
            for (DWORD i = 0; i < kWrites; ++i) {
                const std::wstring name = L"writer" + std::to_wstring(child) + L"-" + std::to_wstring(i);
                if (RegSetValueExW(key, name.c_str(), REG_DWORD, reinterpret_cast<const BYTE*>(&i), 4) != ERROR_SUCCESS) _exit(1);
            }
            _exit(0);
        }
    }
    for (const pid_t child : children) {
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"SOFTWARE\\Shared", 0, KEY_READ, &key), ERROR_SUCCESS);
    std::vector<RegistryValue> values;
    ASSERT_EQ(RegListValues(key, values), ERROR_SUCCESS);
    EXPECT_EQ(values.size(), 2u * kWrites);
    RegCloseKey(key);
}

TEST_F(Registry, MachineHiveLivesUnderTheFirstConfigDir) {
    EXPECT_EQ(RegistryHivePath(HKEY_LOCAL_MACHINE), m_environment.Root() + "/config-dirs/tidewell/HKEY_LOCAL_MACHINE.reg");
    EXPECT_EQ(RegistryHivePath(HKEY_CURRENT_USER), m_environment.Root() + "/config/tidewell/HKEY_CURRENT_USER.reg");
}

}  // namespace
