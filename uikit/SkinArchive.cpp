#include "SkinArchive.h"

#include <zip.h>

namespace uikit {
namespace {

constexpr char kMemoryArchiveName[] = "membuffer";

std::string FoldEntryName(std::string name) {
    for (char& c : name) {
        if (c == '\\') c = '/';
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return name;
}

}  // namespace

CSkinArchive& CSkinArchive::Current() {
    static CSkinArchive archive;
    return archive;
}

CSkinArchive::~CSkinArchive() { Close(); }

void CSkinArchive::Close() {
    if (m_pZip != nullptr) zip_discard(m_pZip);
    m_pZip = nullptr;
    m_strName.clear();
}

bool CSkinArchive::OpenMemory(const void* data, std::size_t size) {
    if (m_pZip != nullptr && m_strName == kMemoryArchiveName) return true;
    Close();
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(data, size, 0, &error);
    if (source != nullptr) {
        m_pZip = zip_open_from_source(source, ZIP_RDONLY, &error);
        if (m_pZip == nullptr) zip_source_free(source);
    }
    zip_error_fini(&error);
    if (m_pZip == nullptr) return false;
    m_strName = kMemoryArchiveName;
    ++m_nOpenCount;
    return true;
}

bool CSkinArchive::ReadEntry(const std::string& name, std::size_t maxBytes, std::string& out, std::string& error) const {
    if (m_pZip == nullptr) {
        error = "Error opening zip file";
        return false;
    }
    const std::string wanted = FoldEntryName(name);
    const zip_int64_t count = zip_get_num_entries(m_pZip, 0);
    zip_int64_t index = -1;
    for (zip_int64_t i = 0; i < count && index < 0; ++i) {
        const char* entry = zip_get_name(m_pZip, static_cast<zip_uint64_t>(i), ZIP_FL_ENC_RAW);
        if (entry != nullptr && FoldEntryName(entry) == wanted) index = i;
    }
    if (index < 0) {
        error = "Could not find ziped file";
        return false;
    }
    zip_stat_t stat;
    if (zip_stat_index(m_pZip, static_cast<zip_uint64_t>(index), 0, &stat) != 0 || (stat.valid & ZIP_STAT_SIZE) == 0) {
        error = "Could not unzip file";
        return false;
    }
    if (stat.size > maxBytes) {
        error = "File too large";
        return false;
    }
    if (stat.size == 0) {
        error = "File is empty";
        return false;
    }
    zip_file_t* file = zip_fopen_index(m_pZip, static_cast<zip_uint64_t>(index), 0);
    if (file == nullptr) {
        error = "Could not unzip file";
        return false;
    }
    std::string data(static_cast<std::size_t>(stat.size), '\0');
    const zip_int64_t read = zip_fread(file, data.data(), stat.size);
    // Reading on to the end makes the library compare the entry's checksum.
    char probe;
    const zip_int64_t beyond = read == static_cast<zip_int64_t>(stat.size) ? zip_fread(file, &probe, 1) : -1;
    zip_fclose(file);
    if (beyond != 0) {
        error = "Could not unzip file";
        return false;
    }
    out = std::move(data);
    return true;
}

}  // namespace uikit
