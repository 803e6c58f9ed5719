// A host program that loads libpagehost.so with dlopen as a game client would.
//
//   pagehost-host [--emulation=NAME | --emulation-null] [--dialog=WIDTH,HEIGHT,URL[,modal]]
//                 [--quit-after=MS] [--screenshot=FILE.png]
//
// --emulation calls ChangeRegedit; --dialog calls CreateDlg and prints "CreateDlg=<handle>",
// then serves the dialog until it is gone or --quit-after has passed. --screenshot saves the
// dialog once its page has loaded and prints "outer=WxH browser=WxH zoom=Z".
#include <charconv>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <dlfcn.h>
#include <gtk/gtk.h>
#include <string>
#include <webkit2/webkit2.h>

namespace {

using ChangeRegeditFunction = void (*)(const char*);
using CreateDlgFunction = std::int32_t (*)(int, int, const char*, bool);

std::string LibraryPath(const char* program) {
    std::string path = program;
    const std::size_t slash = path.rfind('/');
    return (slash == std::string::npos ? std::string(".") : path.substr(0, slash)) + "/libpagehost.so";
}

GtkWidget* FindWebView(GtkWidget* widget) {
    if (WEBKIT_IS_WEB_VIEW(widget)) return widget;
    if (!GTK_IS_CONTAINER(widget)) return nullptr;
    GList* children = gtk_container_get_children(GTK_CONTAINER(widget));
    GtkWidget* found = nullptr;
    for (GList* child = children; child != nullptr && found == nullptr; child = child->next) {
        found = FindWebView(GTK_WIDGET(child->data));
    }
    g_list_free(children);
    return found;
}

// The shown dialog window and its browser; false while there is none.
bool FindDialog(GtkWidget*& window, GtkWidget*& view) {
    GList* toplevels = gtk_window_list_toplevels();
    window = nullptr;
    view = nullptr;
    for (GList* item = toplevels; item != nullptr; item = item->next) {
        GtkWidget* candidate = GTK_WIDGET(item->data);
        if (gtk_widget_get_visible(candidate) && (view = FindWebView(candidate)) != nullptr) {
            window = candidate;
            break;
        }
    }
    g_list_free(toplevels);
    return window != nullptr;
}

bool Screenshot(const std::string& path) {
    GtkWidget* window = nullptr;
    GtkWidget* view = nullptr;
    if (!FindDialog(window, view)) return false;
    const int width = gtk_widget_get_allocated_width(window);
    const int height = gtk_widget_get_allocated_height(window);
    GdkPixbuf* image = gdk_pixbuf_get_from_window(gtk_widget_get_window(window), 0, 0, width, height);
    if (image == nullptr) return false;
    const bool saved = gdk_pixbuf_save(image, path.c_str(), "png", nullptr, nullptr);
    g_object_unref(image);
    std::printf("outer=%dx%d browser=%dx%d zoom=%d\n", width, height, gtk_widget_get_allocated_width(view),
                gtk_widget_get_allocated_height(view),
                static_cast<int>(webkit_web_view_get_zoom_level(WEBKIT_WEB_VIEW(view)) * 100 + 0.5));
    std::fflush(stdout);
    return saved;
}

}  // namespace

int main(int argc, char** argv) {
    // A game client runs in its user's locale; the library converts with it.
    std::setlocale(LC_ALL, "");
    void* library = dlopen(LibraryPath(argv[0]).c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        std::fprintf(stderr, "pagehost-host: %s\n", dlerror());
        return 1;
    }
    auto changeRegedit = reinterpret_cast<ChangeRegeditFunction>(dlsym(library, "ChangeRegedit"));
    auto createDlg = reinterpret_cast<CreateDlgFunction>(dlsym(library, "CreateDlg"));
    if (changeRegedit == nullptr || createDlg == nullptr) {
        std::fputs("pagehost-host: the library lacks its exports\n", stderr);
        return 1;
    }
    long quitAfterMs = -1;
    std::string screenshot;
    std::int32_t dialog = 0;
    bool dialogRequested = false;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument.starts_with("--emulation=")) {
            changeRegedit(argv[i] + 12);
            std::printf("ChangeRegedit=%s\n", argv[i] + 12);
        } else if (argument == "--emulation-null") {
            changeRegedit(nullptr);
            std::puts("ChangeRegedit=(null)");
        } else if (argument.starts_with("--quit-after=")) {
            quitAfterMs = std::strtol(argv[i] + 13, nullptr, 10);
        } else if (argument.starts_with("--screenshot=")) {
            screenshot = argument.substr(13);
        } else if (argument.starts_with("--dialog=")) {
            std::string dialogOption = argument.substr(9);
            const bool modal = dialogOption.ends_with(",modal");
            if (modal) dialogOption.resize(dialogOption.size() - 6);
            const std::size_t first = dialogOption.find(',');
            const std::size_t second = first == std::string::npos ? first : dialogOption.find(',', first + 1);
            if (second == std::string::npos) return 2;
            dialogRequested = true;
            std::fflush(stdout);
            dialog = createDlg(std::atoi(dialogOption.substr(0, first).c_str()), std::atoi(dialogOption.substr(first + 1, second - first - 1).c_str()),
                               dialogOption.substr(second + 1).c_str(), modal);
            std::printf("CreateDlg=%d\n", dialog);
            std::fflush(stdout);
        } else {
            std::fprintf(stderr, "pagehost-host: unknown option %s\n", argv[i]);
            return 2;
        }
    }
    if (dialogRequested && dialog != 0) {
        // Serve the modeless dialog on this thread's loop, as a game client's loop would.
        const gint64 deadline = quitAfterMs >= 0 ? g_get_monotonic_time() + quitAfterMs * 1000 : G_MAXINT64;
        bool shot = screenshot.empty();
        gint64 settledSince = 0;
        while (g_get_monotonic_time() < deadline) {
            g_main_context_iteration(nullptr, FALSE);
            GtkWidget* window = nullptr;
            GtkWidget* view = nullptr;
            if (!FindDialog(window, view)) {
                if (shot) break;  // ended by the user
                continue;
            }
            if (!shot && !webkit_web_view_is_loading(WEBKIT_WEB_VIEW(view))) {
                if (settledSince == 0) settledSince = g_get_monotonic_time();
                // Give the page a moment to draw after its document completed.
                if (g_get_monotonic_time() - settledSince > 300 * 1000) shot = Screenshot(screenshot) || true;
            }
            g_usleep(1000);
        }
    }
    return 0;
}
