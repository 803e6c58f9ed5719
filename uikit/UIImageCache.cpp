#include "UIImageCache.h"

#include "SkinArchive.h"

#include <cairo.h>
#include <gdk-pixbuf/gdk-pixbuf.h>

namespace uikit {
namespace {

// Images larger than this are not skin images.
constexpr std::size_t kMaxImageBytes = 32u << 20;

cairo_surface_t* Decode(const std::string& bytes, std::optional<std::uint32_t> mask) {
    GdkPixbufLoader* loader = gdk_pixbuf_loader_new();
    const bool written = gdk_pixbuf_loader_write(loader, reinterpret_cast<const guchar*>(bytes.data()), bytes.size(), nullptr);
    const bool closed = gdk_pixbuf_loader_close(loader, nullptr);
    GdkPixbuf* pixbuf = written && closed ? gdk_pixbuf_loader_get_pixbuf(loader) : nullptr;
    cairo_surface_t* surface = nullptr;
    if (pixbuf != nullptr && gdk_pixbuf_get_bits_per_sample(pixbuf) == 8) {
        const int width = gdk_pixbuf_get_width(pixbuf);
        const int height = gdk_pixbuf_get_height(pixbuf);
        const int channels = gdk_pixbuf_get_n_channels(pixbuf);
        const bool alpha = gdk_pixbuf_get_has_alpha(pixbuf);
        const guchar* source = gdk_pixbuf_read_pixels(pixbuf);
        const int sourceStride = gdk_pixbuf_get_rowstride(pixbuf);
        surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
        unsigned char* target = cairo_image_surface_get_data(surface);
        const int targetStride = cairo_image_surface_get_stride(surface);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const guchar* p = source + y * sourceStride + x * channels;
                std::uint32_t a = alpha ? p[3] : 255;
                const std::uint32_t rgb = (std::uint32_t(p[0]) << 16) | (std::uint32_t(p[1]) << 8) | p[2];
                if (mask && (*mask & 0xFFFFFF) == rgb) a = 0;
                const auto premultiply = [a](std::uint32_t c) { return (c * a + 127) / 255; };
                reinterpret_cast<std::uint32_t*>(target + y * targetStride)[x] =
                    (a << 24) | (premultiply(p[0]) << 16) | (premultiply(p[1]) << 8) | premultiply(p[2]);
            }
        }
        cairo_surface_mark_dirty(surface);
    }
    g_object_unref(loader);
    return surface;
}

}  // namespace

CImageCache& CImageCache::Instance() {
    static CImageCache cache;
    return cache;
}

CImageCache::~CImageCache() { Clear(); }

void CImageCache::Clear() {
    for (auto& [key, surface] : m_images) {
        if (surface != nullptr) cairo_surface_destroy(surface);
    }
    m_images.clear();
}

cairo_surface_t* CImageCache::Get(const CSkinArchive& archive, const std::string& file, std::optional<std::uint32_t> mask) {
    const std::string key = mask ? file + "#" + std::to_string(*mask) : file;
    const auto it = m_images.find(key);
    if (it != m_images.end()) return it->second;
    std::string bytes;
    std::string error;
    cairo_surface_t* surface = nullptr;
    if (archive.ReadEntry(file, kMaxImageBytes, bytes, error)) {
        surface = Decode(bytes, mask);
        ++m_nDecodes;
    }
    // A failure is remembered too, so a missing image is not looked for on every paint.
    m_images.emplace(key, surface);
    return surface;
}

}  // namespace uikit
