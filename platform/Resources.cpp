#include "Resources.h"

#include <vector>

namespace platform {
namespace {

struct Entry {
    std::wstring_view type;
    int id;
    ResourceBytes bytes;
};

std::vector<Entry>& Table() {
    static std::vector<Entry> table;
    return table;
}

}  // namespace

ResourceRegistration::ResourceRegistration(const wchar_t* type, int id, const void* begin, const void* end) {
    const auto size = static_cast<std::size_t>(static_cast<const char*>(end) - static_cast<const char*>(begin));
    Table().push_back(Entry{type, id, ResourceBytes{begin, size}});
}

std::optional<ResourceBytes> FindResource(std::wstring_view type, int id) {
    for (const Entry& entry : Table()) {
        if (entry.type == type && entry.id == id) return entry.bytes;
    }
    return std::nullopt;
}

HICON LoadIconW(int id) { return FindResource(L"ICON", id) ? static_cast<HICON>(id) : 0; }

std::optional<ResourceBytes> IconImage(HICON icon) {
    if (icon <= 0 || icon > 0x7FFFFFFF) return std::nullopt;
    return FindResource(L"ICON", static_cast<int>(icon));
}

}  // namespace platform
