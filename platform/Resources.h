#pragma once
// Data embedded in the program at build time, looked up by type and identifier.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace platform {

struct ResourceBytes {
    const void* data = nullptr;
    std::size_t size = 0;
};

std::optional<ResourceBytes> FindResource(std::wstring_view type, int id);

// An icon among the program's resources (type "ICON"), as a handle that travels in messages.
using HICON = std::intptr_t;
// The icon with the identifier, or 0 when the program has none.
HICON LoadIconW(int id);
std::optional<ResourceBytes> IconImage(HICON icon);

// Makes embedded bytes findable; one static object per resource, in the program that
// embeds them.
class ResourceRegistration {
public:
    ResourceRegistration(const wchar_t* type, int id, const void* begin, const void* end);
};

}  // namespace platform
