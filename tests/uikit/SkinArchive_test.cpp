#include "SkinArchive.h"

#include "IsolatedEnvironment.h"

#include "Resources.h"

#include <gtest/gtest.h>
#include <zip.h>

namespace {

// Builds a ZIP in a temporary file with libzip and returns its bytes.
std::string MakeZip(const std::vector<std::pair<std::string, std::string>>& entries, bool stored = false) {
    IsolatedEnvironment scratch;
    const std::string path = scratch.Root() + "/test.zip";
    int error = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    for (const auto& [name, content] : entries) {
        // The entries outlive zip_close, which reads them.
        zip_source_t* source = zip_source_buffer(archive, content.data(), content.size(), 0);
        const zip_int64_t index = zip_file_add(archive, name.c_str(), source, ZIP_FL_ENC_UTF_8);
        if (stored) zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), ZIP_CM_STORE, 0);
    }
    zip_close(archive);
    return ReadWholeFile(path);
}

TEST(SkinArchive, EntriesAreFoundWithoutRegardToCase) {
    const std::string bytes = MakeZip({{"GameLoader.xml", "<Window/>"}, {"img/Shadow.png", "png"}});
    uikit::CSkinArchive archive;
    ASSERT_TRUE(archive.OpenMemory(bytes.data(), bytes.size()));
    std::string out;
    std::string error;
    EXPECT_TRUE(archive.ReadEntry("GAMELOADER.XML", uikit::kMaxLayoutBytes, out, error));
    EXPECT_EQ(out, "<Window/>");
    EXPECT_TRUE(archive.ReadEntry("IMG\\shadow.PNG", 100, out, error));
    EXPECT_EQ(out, "png");
}

TEST(SkinArchive, DiagnosticTexts) {
    const std::string bytes = MakeZip({{"big.xml", std::string(101, 'x')}, {"empty.xml", ""}});
    uikit::CSkinArchive archive;
    ASSERT_TRUE(archive.OpenMemory(bytes.data(), bytes.size()));
    const std::pair<const char*, const char*> rows[] = {
        {"missing.xml", "Could not find ziped file"}, {"big.xml", "File too large"}, {"empty.xml", "File is empty"}};
    for (const auto& [name, diagnostic] : rows) {
        std::string out = "untouched";
        std::string error;
        EXPECT_FALSE(archive.ReadEntry(name, 100, out, error));
        EXPECT_EQ(error, diagnostic);
        EXPECT_EQ(out, "untouched");
    }
}

TEST(SkinArchive, CorruptArchivesAndEntriesAreRefused) {
    uikit::CSkinArchive garbage;
    const std::string noise = "PK\x03\x04 not really a zip archive";
    EXPECT_FALSE(garbage.OpenMemory(noise.data(), noise.size()));
    std::string out;
    std::string error;
    EXPECT_FALSE(garbage.ReadEntry("a.xml", 100, out, error));
    EXPECT_EQ(error, "Error opening zip file");

    std::string bytes = MakeZip({{"a.xml", "0123456789abcdef"}}, true);
    bytes[bytes.find("0123456789abcdef") + 3] = '#';  // stored data no longer matches its checksum
    uikit::CSkinArchive damaged;
    ASSERT_TRUE(damaged.OpenMemory(bytes.data(), bytes.size()));
    EXPECT_FALSE(damaged.ReadEntry("a.xml", 100, out, error));
    EXPECT_EQ(error, "Could not unzip file");
}

TEST(SkinArchive, TheInMemoryArchiveIsOpenedOnce) {
    const auto package = platform::FindResource(L"ZIPRES", 130);
    ASSERT_TRUE(package.has_value());
    uikit::CSkinArchive& current = uikit::CSkinArchive::Current();
    ASSERT_TRUE(current.OpenMemory(package->data, package->size));
    const int opens = current.OpenCount();
    EXPECT_TRUE(current.OpenMemory(package->data, package->size));  // the second window
    EXPECT_EQ(current.OpenCount(), opens);
    EXPECT_EQ(current.Name(), "membuffer");
}

TEST(SkinArchive, ThePackageHoldsBothLayoutsAndEveryImage) {
    const auto package = platform::FindResource(L"ZIPRES", 130);
    ASSERT_TRUE(package.has_value());
    uikit::CSkinArchive archive;
    ASSERT_TRUE(archive.OpenMemory(package->data, package->size));
    for (const char* name : {"GameLoader.xml", "CustomMsgBox.xml", "shadow.png", "gmin_normal.png", "gmin_hover.png",
                             "gclose_normal.png", "gclose_hover.png", "gprogress_bk.png", "gprogress_fore.png",
                             "dovr_download_bk.jpg", "mirt_download_bk.jpg", "osse_download_bk.jpg", "btn_close.png",
                             "btn_close_hover.png", "icon_warning.png", "confirm.png"}) {
        std::string out;
        std::string error;
        EXPECT_TRUE(archive.ReadEntry(name, 1 << 24, out, error)) << name << ": " << error;
    }
    std::string layout;
    std::string error;
    ASSERT_TRUE(archive.ReadEntry("GameLoader.xml", uikit::kMaxLayoutBytes, layout, error));
    EXPECT_TRUE(layout.starts_with("<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"yes\" ?>\r\n"));
    EXPECT_EQ(layout.find("\xEF\xBB\xBF"), std::string::npos);
}

}  // namespace
