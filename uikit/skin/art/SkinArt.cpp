// Draws the skin package's images, our own art, at the sizes the layouts expect:
//   skin-art OUTPUT_DIR
// PNGs are 8-bit RGBA with straight alpha; the download-page backgrounds are baseline JPEG.
#include <cairo.h>
#include <gdk-pixbuf/gdk-pixbuf.h>

#include <cmath>
#include <cstdio>
#include <functional>
#include <string>

namespace {

using Painter = std::function<void(cairo_t*, int width, int height)>;

std::string g_outputDir;

bool WritePng(const char* name, int width, int height, const Painter& paint) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_t* cr = cairo_create(surface);
    paint(cr, width, height);
    cairo_destroy(cr);
    const bool ok = cairo_surface_write_to_png(surface, (g_outputDir + "/" + name).c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    return ok;
}

bool WriteJpeg(const char* name, int width, int height, const Painter& paint) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    cairo_t* cr = cairo_create(surface);
    paint(cr, width, height);
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    GdkPixbuf* pixbuf = gdk_pixbuf_new(GDK_COLORSPACE_RGB, FALSE, 8, width, height);
    const unsigned char* source = cairo_image_surface_get_data(surface);
    const int sourceStride = cairo_image_surface_get_stride(surface);
    unsigned char* target = gdk_pixbuf_get_pixels(pixbuf);
    const int targetStride = gdk_pixbuf_get_rowstride(pixbuf);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const auto* pixel = reinterpret_cast<const std::uint32_t*>(source + y * sourceStride) + x;
            unsigned char* out = target + y * targetStride + x * 3;
            out[0] = (*pixel >> 16) & 0xFF;
            out[1] = (*pixel >> 8) & 0xFF;
            out[2] = *pixel & 0xFF;
        }
    }
    GError* error = nullptr;
    const bool ok = gdk_pixbuf_save(pixbuf, (g_outputDir + "/" + name).c_str(), "jpeg", &error, "quality", "90", nullptr);
    if (error != nullptr) g_error_free(error);
    g_object_unref(pixbuf);
    cairo_surface_destroy(surface);
    return ok;
}

void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
    cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
    cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
}

// A soft dark border fading out over the 9-pixel corners, around an opaque white centre.
void Shadow(cairo_t* cr, int width, int height) {
    constexpr int kCorner = 9;
    cairo_surface_t* surface = cairo_get_target(cr);
    cairo_surface_flush(surface);
    unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int dx = std::max({kCorner - x, x - (width - 1 - kCorner), 0});
            const int dy = std::max({kCorner - y, y - (height - 1 - kCorner), 0});
            auto* pixel = reinterpret_cast<std::uint32_t*>(data + y * stride) + x;
            if (dx == 0 && dy == 0) {
                *pixel = 0xFFFFFFFF;
                continue;
            }
            const double distance = std::min(1.0, std::sqrt(double(dx * dx + dy * dy)) / kCorner);
            const auto alpha = static_cast<std::uint32_t>(std::lround(90.0 * (1.0 - distance) * (1.0 - distance)));
            *pixel = alpha << 24;  // premultiplied black
        }
    }
    cairo_surface_mark_dirty(surface);
}

void CrossMark(cairo_t* cr, int size, double inset, double r, double g, double b) {
    cairo_set_source_rgb(cr, r, g, b);
    cairo_set_line_width(cr, 2);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_move_to(cr, inset, inset);
    cairo_line_to(cr, size - inset, size - inset);
    cairo_move_to(cr, size - inset, inset);
    cairo_line_to(cr, inset, size - inset);
    cairo_stroke(cr);
}

// The download page is plain white for this game and a dark picture for others: the window
// buttons are dark marks on a pale disc that vanishes on white, and a grey (minimise) or red
// (close) disc behind the mark when the pointer is over them.
constexpr double kMarkGrey = 0.40;
constexpr double kHotMarkGrey = 0.12;

void HoverDisc(cairo_t* cr, int size, double r, double g, double b) {
    cairo_set_source_rgb(cr, r, g, b);
    cairo_arc(cr, size / 2.0, size / 2.0, size / 2.0, 0, 2 * M_PI);
    cairo_fill(cr);
}

void MinusMark(cairo_t* cr, int size, double grey) {
    cairo_set_source_rgb(cr, grey, grey, grey);
    cairo_set_line_width(cr, 2);
    cairo_move_to(cr, 6, size / 2.0);
    cairo_line_to(cr, size - 6, size / 2.0);
    cairo_stroke(cr);
}

void Bar(cairo_t* cr, int width, int height, double r1, double g1, double b1, double r2, double g2, double b2) {
    cairo_pattern_t* gradient = cairo_pattern_create_linear(0, 0, 0, height);
    cairo_pattern_add_color_stop_rgb(gradient, 0, r1, g1, b1);
    cairo_pattern_add_color_stop_rgb(gradient, 1, r2, g2, b2);
    RoundedRect(cr, 0, 0, width, height, height / 2.0);
    cairo_set_source(cr, gradient);
    cairo_fill(cr);
    cairo_pattern_destroy(gradient);
}

// A dusk landscape of layered hills in the given hue, for a download-page background.
Painter Landscape(double r, double g, double b) {
    return [=](cairo_t* cr, int width, int height) {
        cairo_pattern_t* sky = cairo_pattern_create_linear(0, 0, 0, height);
        cairo_pattern_add_color_stop_rgb(sky, 0, r * 0.35, g * 0.35, b * 0.45);
        cairo_pattern_add_color_stop_rgb(sky, 1, r, g, b);
        cairo_set_source(cr, sky);
        cairo_paint(cr);
        cairo_pattern_destroy(sky);
        for (int layer = 0; layer < 4; ++layer) {
            const double base = height * (0.55 + 0.1 * layer);
            cairo_move_to(cr, 0, height);
            for (int x = 0; x <= width; x += 8) {
                cairo_line_to(cr, x, base - 40 * std::sin(x / (90.0 + 30 * layer) + layer) - 20 * std::sin(x / 37.0));
            }
            cairo_line_to(cr, width, height);
            cairo_close_path(cr);
            const double shade = 0.15 + 0.12 * (3 - layer);
            cairo_set_source_rgb(cr, r * shade, g * shade, b * shade);
            cairo_fill(cr);
        }
    };
}

// The launcher's icon (resource 107, not part of the skin package): a dusk peak under a
// crescent on a rounded night-blue square.
void LauncherIcon(cairo_t* cr, int width, int height) {
    const double size = width;
    RoundedRect(cr, 4, 4, size - 8, height - 8, size * 0.18);
    cairo_pattern_t* night = cairo_pattern_create_linear(0, 0, 0, height);
    cairo_pattern_add_color_stop_rgb(night, 0, 0.10, 0.16, 0.36);
    cairo_pattern_add_color_stop_rgb(night, 1, 0.30, 0.16, 0.40);
    cairo_set_source(cr, night);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(night);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.25);
    cairo_set_line_width(cr, size / 64);
    cairo_stroke(cr);
    // The crescent: a disc with a disc cut out of it.
    cairo_push_group(cr);
    cairo_arc(cr, size * 0.68, size * 0.30, size * 0.13, 0, 2 * M_PI);
    cairo_set_source_rgb(cr, 0.99, 0.86, 0.52);
    cairo_fill(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
    cairo_arc(cr, size * 0.62, size * 0.26, size * 0.11, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pop_group_to_source(cr);
    cairo_paint(cr);
    // The peak, lit from the left.
    cairo_move_to(cr, size * 0.14, height * 0.84);
    cairo_line_to(cr, size * 0.46, height * 0.38);
    cairo_line_to(cr, size * 0.86, height * 0.84);
    cairo_close_path(cr);
    cairo_pattern_t* rock = cairo_pattern_create_linear(size * 0.2, 0, size * 0.8, 0);
    cairo_pattern_add_color_stop_rgb(rock, 0, 0.98, 0.72, 0.30);
    cairo_pattern_add_color_stop_rgb(rock, 1, 0.70, 0.32, 0.18);
    cairo_set_source(cr, rock);
    cairo_fill(cr);
    cairo_pattern_destroy(rock);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: skin-art OUTPUT_DIR\n", stderr);
        return 2;
    }
    g_outputDir = argv[1];
    bool ok = true;
    ok &= WritePng("shadow.png", 58, 58, Shadow);
    ok &= WritePng("launcher_icon.png", 128, 128, LauncherIcon);
    ok &= WritePng("gmin_normal.png", 24, 24, [](cairo_t* cr, int w, int) {
        HoverDisc(cr, w, 1, 1, 1);
        MinusMark(cr, w, kMarkGrey);
    });
    ok &= WritePng("gmin_hover.png", 24, 24, [](cairo_t* cr, int w, int) {
        HoverDisc(cr, w, 0.88, 0.88, 0.88);
        MinusMark(cr, w, kHotMarkGrey);
    });
    ok &= WritePng("gclose_normal.png", 28, 28, [](cairo_t* cr, int w, int) {
        HoverDisc(cr, w, 1, 1, 1);
        CrossMark(cr, w, 9, kMarkGrey, kMarkGrey, kMarkGrey);
    });
    ok &= WritePng("gclose_hover.png", 28, 28, [](cairo_t* cr, int w, int) {
        HoverDisc(cr, w, 0.90, 0.25, 0.20);
        CrossMark(cr, w, 9, 1, 1, 1);
    });
    ok &= WritePng("gprogress_bk.png", 530, 13, [](cairo_t* cr, int w, int h) { Bar(cr, w, h, 0.20, 0.22, 0.26, 0.30, 0.32, 0.36); });
    ok &= WritePng("gprogress_fore.png", 530, 13, [](cairo_t* cr, int w, int h) { Bar(cr, w, h, 0.98, 0.80, 0.35, 0.90, 0.55, 0.15); });
    ok &= WriteJpeg("dovr_download_bk.jpg", 960, 620, Landscape(0.55, 0.65, 0.95));
    ok &= WriteJpeg("mirt_download_bk.jpg", 960, 620, Landscape(0.95, 0.55, 0.45));
    ok &= WriteJpeg("osse_download_bk.jpg", 960, 620, Landscape(0.45, 0.85, 0.60));
    ok &= WritePng("btn_close.png", 24, 24, [](cairo_t* cr, int w, int) { CrossMark(cr, w, 7, 0.55, 0.55, 0.55); });
    ok &= WritePng("btn_close_hover.png", 24, 24, [](cairo_t* cr, int w, int) { CrossMark(cr, w, 7, 0.90, 0.25, 0.20); });
    ok &= WritePng("icon_warning.png", 60, 60, [](cairo_t* cr, int w, int h) {
        cairo_move_to(cr, w / 2.0, 4);
        cairo_line_to(cr, w - 3, h - 6);
        cairo_line_to(cr, 3, h - 6);
        cairo_close_path(cr);
        cairo_set_source_rgb(cr, 0.98, 0.70, 0.10);
        cairo_fill(cr);
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_rectangle(cr, w / 2.0 - 2.5, 20, 5, 20);
        cairo_fill(cr);
        cairo_arc(cr, w / 2.0, 47, 3, 0, 2 * M_PI);
        cairo_fill(cr);
    });
    ok &= WritePng("confirm.png", 96, 32, [](cairo_t* cr, int w, int h) {
        RoundedRect(cr, 0.5, 0.5, w - 1, h - 1, 4);
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_fill_preserve(cr);
        cairo_set_source_rgb(cr, 0.0, 0.54, 1.0);
        cairo_set_line_width(cr, 1);
        cairo_stroke(cr);
    });
    if (!ok) std::fputs("skin-art: could not write every image\n", stderr);
    return ok ? 0 : 1;
}
