// Saves what the desktop shows as a PNG, for the demo's pictures and the tests:
//   screen-shot [--until-drawn] OUT.png [X Y WIDTH HEIGHT]
// Without a rectangle the whole screen is saved. --until-drawn looks again every 100 ms, for
// up to 10 s, until the rectangle holds more than one colour (a page still being drawn is
// blank).
#include <gdk/gdk.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

bool HasOneColour(GdkPixbuf* image) {
    const int channels = gdk_pixbuf_get_n_channels(image);
    const int stride = gdk_pixbuf_get_rowstride(image);
    const guchar* pixels = gdk_pixbuf_get_pixels(image);
    for (int row = 0; row < gdk_pixbuf_get_height(image); ++row) {
        for (int column = 0; column < gdk_pixbuf_get_width(image); ++column) {
            if (std::memcmp(pixels + row * stride + column * channels, pixels, static_cast<std::size_t>(channels)) !=
                0) {
                return false;
            }
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const bool untilDrawn = argc > 1 && std::strcmp(argv[1], "--until-drawn") == 0;
    char** arguments = argv + (untilDrawn ? 1 : 0);
    const int count = argc - (untilDrawn ? 1 : 0);
    if (count != 2 && count != 6) {
        std::fputs("usage: screen-shot [--until-drawn] OUT.png [X Y WIDTH HEIGHT]\n", stderr);
        return 2;
    }
    if (!gdk_init_check(&argc, &argv)) {
        std::fputs("screen-shot: no desktop to look at\n", stderr);
        return 1;
    }
    GdkWindow* root = gdk_get_default_root_window();
    int x = 0;
    int y = 0;
    int width = gdk_window_get_width(root);
    int height = gdk_window_get_height(root);
    if (count == 6) {
        x = std::atoi(arguments[2]);
        y = std::atoi(arguments[3]);
        width = std::atoi(arguments[4]);
        height = std::atoi(arguments[5]);
    }
    GdkPixbuf* image = gdk_pixbuf_get_from_window(root, x, y, width, height);
    for (int attempt = 0; untilDrawn && image != nullptr && HasOneColour(image) && attempt < 100; ++attempt) {
        g_object_unref(image);
        g_usleep(100 * 1000);
        image = gdk_pixbuf_get_from_window(root, x, y, width, height);
    }
    if (image == nullptr) {
        std::fputs("screen-shot: the screen could not be read\n", stderr);
        return 1;
    }
    GError* error = nullptr;
    const bool saved = gdk_pixbuf_save(image, arguments[1], "png", &error, nullptr);
    if (error != nullptr) {
        std::fprintf(stderr, "screen-shot: %s\n", error->message);
        g_error_free(error);
    }
    g_object_unref(image);
    return saved ? 0 : 1;
}
