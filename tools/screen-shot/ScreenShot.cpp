// Saves what the desktop shows as a PNG, for the demo's pictures and the tests:
//   screen-shot OUT.png [X Y WIDTH HEIGHT]
// Without a rectangle the whole screen is saved.
#include <gdk/gdk.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 2 && argc != 6) {
        std::fputs("usage: screen-shot OUT.png [X Y WIDTH HEIGHT]\n", stderr);
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
    if (argc == 6) {
        x = std::atoi(argv[2]);
        y = std::atoi(argv[3]);
        width = std::atoi(argv[4]);
        height = std::atoi(argv[5]);
    }
    GdkPixbuf* image = gdk_pixbuf_get_from_window(root, x, y, width, height);
    if (image == nullptr) {
        std::fputs("screen-shot: the screen could not be read\n", stderr);
        return 1;
    }
    GError* error = nullptr;
    const bool saved = gdk_pixbuf_save(image, argv[1], "png", &error, nullptr);
    if (error != nullptr) {
        std::fprintf(stderr, "screen-shot: %s\n", error->message);
        g_error_free(error);
    }
    g_object_unref(image);
    return saved ? 0 : 1;
}
