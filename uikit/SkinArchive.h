#pragma once
// The skin package: a ZIP archive read in place from memory. One archive is current per
// process; windows built after the first reuse it.
#include <cstddef>
#include <string>

typedef struct zip zip_t;

namespace uikit {

class CSkinArchive {
public:
    // The process's current archive.
    static CSkinArchive& Current();

    CSkinArchive() = default;
    ~CSkinArchive();
    CSkinArchive(const CSkinArchive&) = delete;
    CSkinArchive& operator=(const CSkinArchive&) = delete;

    // Opens the bytes as the current archive, unless it is already the in-memory archive
    // ("membuffer"). The bytes are not copied and must outlive the process's windows.
    bool OpenMemory(const void* data, std::size_t size);
    bool IsOpen() const { return m_pZip != nullptr; }
    const std::string& Name() const { return m_strName; }
    // How many times an archive was actually opened in this process.
    int OpenCount() const { return m_nOpenCount; }

    // Reads an entry found by name without regard to case ("\" counts as "/"). Fails with
    // a diagnostic text: "Could not find ziped file", "File too large", "File is empty",
    // "Could not unzip file", "Error opening zip file".
    bool ReadEntry(const std::string& name, std::size_t maxBytes, std::string& out, std::string& error) const;

    void Close();

private:
    zip_t* m_pZip = nullptr;
    std::string m_strName;
    int m_nOpenCount = 0;
};

// A layout entry larger than this is refused.
constexpr std::size_t kMaxLayoutBytes = 0x400000;

}  // namespace uikit
