#pragma once
// Images of the skin package, read from the archive the first time they are drawn, decoded
// once (PNG, JPEG, GIF) and kept for the life of the process.
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>

typedef struct _cairo_surface cairo_surface_t;

namespace uikit {

class CSkinArchive;

class CImageCache {
public:
    static CImageCache& Instance();
    ~CImageCache();

    // The decoded image (premultiplied ARGB), with pixels of the mask colour made
    // transparent; null when the entry cannot be read or decoded. Owned by the cache.
    cairo_surface_t* Get(const CSkinArchive& archive, const std::string& file, std::optional<std::uint32_t> mask);
    // How many images have been decoded so far.
    int DecodeCount() const { return m_nDecodes; }
    void Clear();

private:
    std::unordered_map<std::string, cairo_surface_t*> m_images;
    int m_nDecodes = 0;
};

}  // namespace uikit
