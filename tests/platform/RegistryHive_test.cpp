#include "RegistryHive.h"

#include <gtest/gtest.h>

namespace {

const std::wstring kRoot = L"HKEY_CURRENT_USER";

TEST(RegistryHive, TextRoundTripKeepsOrderTypesAndAwkwardText) {
    const std::string text =
        "Windows Registry Editor Version 5.00\n\n"
        "[HKEY_CURRENT_USER\\SOFTWARE\\游戏]\n"
        "\"name \\\"q\\\"\"=\"C:\\\\Games\\\\玩家\"\n"
        "@=dword:00002af9\n\n"
        "[HKEY_CURRENT_USER]\n"
        "\"multi\"=\"a\\nb\"\n";
    const auto hive = platform::ParseRegistryHive(kRoot, text);
    ASSERT_TRUE(hive.has_value());
    ASSERT_EQ(hive->Keys().size(), 2u);
    const platform::RegistryKeyData& key = hive->Keys()[0];
    EXPECT_EQ(key.Path(), L"SOFTWARE\\游戏");
    const std::vector<platform::RegistryValue> values = key.Values();
    EXPECT_EQ(values[0].name, L"name \"q\"");
    EXPECT_EQ(values[0].text, L"C:\\Games\\玩家");
    EXPECT_EQ(values[1].name, L"");
    EXPECT_EQ(values[1].type, platform::REG_DWORD);
    EXPECT_EQ(values[1].number, 0x2af9u);
    EXPECT_EQ(hive->Keys()[1].Values()[0].text, L"a\nb");
    EXPECT_EQ(platform::SerializeRegistryHive(*hive), text);
}

TEST(RegistryHive, AcceptsCrLfBomAndComments) {
    const auto hive = platform::ParseRegistryHive(
        kRoot, "\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n\r\n; note\r\n[hkey_current_user\\A]\r\n\"v\"=dword:1\r\n");
    ASSERT_TRUE(hive.has_value());
    EXPECT_EQ(hive->Keys()[0].Values()[0].number, 1u);
}

TEST(RegistryHive, DamagedTextIsRefused) {
    const std::string header = "Windows Registry Editor Version 5.00\n";
    const std::string rows[] = {
        "",
        "REGEDIT4\n[HKEY_CURRENT_USER\\A]\n",
        header + "\"v\"=\"before any key\"\n",
        header + "[HKEY_LOCAL_MACHINE\\A]\n",
        header + "[-HKEY_CURRENT_USER\\A]\n",
        header + "[HKEY_CURRENT_USER\\A\n",
        header + "[HKEY_CURRENT_USER\\A\\\\B]\n",
        header + "[HKEY_CURRENT_USER\\A]\n\"v\"=hex:01,02\n",
        header + "[HKEY_CURRENT_USER\\A]\n\"v\"=dword:123456789\n",
        header + "[HKEY_CURRENT_USER\\A]\n\"v\"=\"unterminated\n",
        header + "[HKEY_CURRENT_USER\\A]\n\"v\"=\"bad \\q escape\"\n",
        header + "[HKEY_CURRENT_USER\\A]\n\"\"=\"empty name\"\n",
        header + "[HKEY_CURRENT_USER\\A]\n\"v\"=\"x\" trailing\n",
    };
    for (const std::string& text : rows) EXPECT_FALSE(platform::ParseRegistryHive(kRoot, text).has_value()) << text;
}

TEST(RegistryHive, KeysAndValuesIgnoreCase) {
    platform::RegistryHive hive(kRoot);
    hive.CreateKey(L"Software\\A\\B").SetValue({L"Host.exe", platform::REG_DWORD, L"", 1});
    EXPECT_TRUE(hive.KeyExists(L"SOFTWARE"));
    EXPECT_TRUE(hive.KeyExists(L"software\\a"));
    EXPECT_FALSE(hive.KeyExists(L"Soft"));
    EXPECT_EQ(hive.FindKey(L"software\\a"), nullptr);  // implied by its subkey, no section
    platform::RegistryKeyData* key = hive.FindKey(L"SOFTWARE\\a\\b");
    ASSERT_NE(key, nullptr);
    key->SetValue({L"HOST.EXE", platform::REG_DWORD, L"", 2});
    ASSERT_EQ(key->Values().size(), 1u);
    EXPECT_EQ(key->Values()[0].name, L"Host.exe");
    EXPECT_EQ(key->Values()[0].number, 2u);
    EXPECT_TRUE(hive.DeleteTree(L"software"));
    EXPECT_FALSE(hive.KeyExists(L"Software\\A\\B"));
    EXPECT_FALSE(hive.DeleteTree(L"software"));
}

TEST(RegistryHive, BytesThatAreNotUtf8AreWrittenBackAsTheyWere) {
    const std::string text =
        "Windows Registry Editor Version 5.00\n\n"
        "[HKEY_CURRENT_USER\\Other\xFF]\n"
        "\"raw\xC3\"=\"\xFE\x80 kept\"\n\n"
        "[HKEY_CURRENT_USER\\Mine]\n";
    auto hive = platform::ParseRegistryHive(kRoot, text);
    ASSERT_TRUE(hive.has_value());
    hive->CreateKey(L"Mine").SetValue({L"新", platform::REG_SZ, L"值", 0});
    hive->CreateKey(L"Third");
    EXPECT_EQ(platform::SerializeRegistryHive(*hive), text + "\"新\"=\"值\"\n\n[HKEY_CURRENT_USER\\Third]\n");
}

TEST(RegistryHive, FoldingIsTheSameWhateverTheLocale) {
    EXPECT_EQ(platform::FoldRegistryName(L"Spiel.exe"), L"SPIEL.EXE");
    EXPECT_EQ(platform::FoldRegistryName(L"größe"), platform::FoldRegistryName(L"GRÖßE"));
    EXPECT_EQ(platform::FoldRegistryName(L"游戏"), L"游戏");
}

}  // namespace
