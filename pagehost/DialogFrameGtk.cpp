#include "DialogFrame.h"

#include "NativeChildSurfaceGtk.h"
#include "Text.h"
#include "WindowCore.h"
#include "WindowMessaging.h"

#include <gtk/gtk.h>

namespace {

constexpr char kFrameKey[] = "vornakel-dialog-frame";

// A client-side decorated window keeps margins for its shadow and resize border; the
// dialog's outer size is exactly the browser area, its border and its title bar.
constexpr char kNoDecorationMargins[] =
    "decoration { margin: 0; padding: 0; border-width: 0; box-shadow: none; }"
    "window.solid-csd { margin: 0; padding: 0; border-width: 0; box-shadow: none; }";

void DropDecorationMargins(GtkWidget* window) {
    GtkCssProvider* provider = gtk_css_provider_new();
    gtk_css_provider_load_from_data(provider, kNoDecorationMargins, -1, nullptr);
    gtk_style_context_add_provider(gtk_widget_get_style_context(window), GTK_STYLE_PROVIDER(provider),
                                   GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    g_object_unref(provider);
}

bool IsDialogFrame(GtkWidget* window) { return g_object_get_data(G_OBJECT(window), kFrameKey) != nullptr; }

// The host's window that a modal dialog belongs to: its active window, else the first of
// its shown windows that is not a dialog of ours.
GtkWindow* HostWindow() {
    GList* toplevels = gtk_window_list_toplevels();
    GtkWindow* active = nullptr;
    GtkWindow* shown = nullptr;
    for (GList* item = toplevels; item != nullptr; item = item->next) {
        GtkWidget* window = GTK_WIDGET(item->data);
        if (IsDialogFrame(window) || !gtk_widget_get_visible(window) ||
            gtk_window_get_window_type(GTK_WINDOW(window)) != GTK_WINDOW_TOPLEVEL) {
            continue;
        }
        if (active == nullptr && gtk_window_is_active(GTK_WINDOW(window))) active = GTK_WINDOW(window);
        if (shown == nullptr) shown = GTK_WINDOW(window);
    }
    g_list_free(toplevels);
    return active != nullptr ? active : shown;
}

class GtkDialogFrame final : public DialogFrame {
public:
    explicit GtkDialogFrame(platform::HWND hwnd) : m_hwnd(hwnd) {
        m_window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
        g_object_set_data(G_OBJECT(m_window), kFrameKey, this);
        gtk_window_set_resizable(GTK_WINDOW(m_window), FALSE);
        // The header bar is the window's own title bar: it drags the window, opens the window
        // menu and holds only a close box, and no window manager adds to the outer size.
        m_header = gtk_header_bar_new();
        gtk_header_bar_set_show_close_button(GTK_HEADER_BAR(m_header), TRUE);
        gtk_header_bar_set_decoration_layout(GTK_HEADER_BAR(m_header), ":close");
        gtk_window_set_titlebar(GTK_WINDOW(m_window), m_header);
        DropDecorationMargins(m_window);
        m_client = gtk_fixed_new();
        gtk_container_add(GTK_CONTAINER(m_window), m_client);
        gtk_widget_show(m_header);
        gtk_widget_show(m_client);
        g_signal_connect(m_window, "delete-event", G_CALLBACK(&GtkDialogFrame::OnDelete), this);
        g_signal_connect(m_window, "key-press-event", G_CALLBACK(&GtkDialogFrame::OnKey), this);
        m_surface.container = m_client;
        platform::SetWindowNativeSurface(hwnd, &m_surface);
    }

    ~GtkDialogFrame() override {
        EndModal();
        platform::SetWindowNativeSurface(m_hwnd, nullptr);
        g_signal_handlers_disconnect_by_data(m_window, this);
        gtk_widget_destroy(m_window);
    }

    int CaptionHeight() override {
        int minimum = 0;
        int natural = 0;
        gtk_widget_get_preferred_height(m_header, &minimum, &natural);
        return natural;
    }

    int ScreenDpi() override {
        const double resolution = gdk_screen_get_resolution(gdk_screen_get_default());
        return resolution > 0 ? static_cast<int>(resolution + 0.5) : 96;
    }

    void ShowCentred(int outerWidth, int outerHeight) override {
        const int caption = CaptionHeight();
        int headerMinimum = 0;
        int headerNatural = 0;
        gtk_widget_get_preferred_width(m_header, &headerMinimum, &headerNatural);
        const int width = std::max(outerWidth, headerMinimum);
        gtk_widget_set_size_request(m_client, width, std::max(0, outerHeight - caption));
        GdkRectangle screen{0, 0, width, outerHeight};
        GdkDisplay* display = gdk_display_get_default();
        GdkMonitor* monitor = gdk_display_get_primary_monitor(display);
        if (monitor == nullptr) monitor = gdk_display_get_monitor(display, 0);
        if (monitor != nullptr) gdk_monitor_get_geometry(monitor, &screen);
        gtk_window_move(GTK_WINDOW(m_window), screen.x + (screen.width - width) / 2, screen.y + (screen.height - outerHeight) / 2);
        gtk_widget_show(m_window);
    }

    void Hide() override { gtk_widget_hide(m_window); }

    void SetTitle(const std::wstring& title) override {
        gtk_window_set_title(GTK_WINDOW(m_window), platform::WideToUtf8(title).c_str());
        gtk_header_bar_set_title(GTK_HEADER_BAR(m_header), platform::WideToUtf8(title).c_str());
    }

    void BeginModal() override {
        gtk_window_set_modal(GTK_WINDOW(m_window), TRUE);
        GtkWindow* owner = HostWindow();
        if (owner == nullptr) return;
        m_owner = owner;
        g_object_add_weak_pointer(G_OBJECT(m_owner), reinterpret_cast<gpointer*>(&m_owner));
        gtk_window_set_transient_for(GTK_WINDOW(m_window), m_owner);
        gtk_widget_set_sensitive(GTK_WIDGET(m_owner), FALSE);
    }

    void EndModal() override {
        gtk_window_set_modal(GTK_WINDOW(m_window), FALSE);
        if (m_owner == nullptr) return;
        gtk_widget_set_sensitive(GTK_WIDGET(m_owner), TRUE);
        gtk_window_set_transient_for(GTK_WINDOW(m_window), nullptr);
        g_object_remove_weak_pointer(G_OBJECT(m_owner), reinterpret_cast<gpointer*>(&m_owner));
        m_owner = nullptr;
    }

private:
    // The close box ends the dialog as a standard dialog's cancel does.
    static gboolean OnDelete(GtkWidget*, GdkEvent*, gpointer self) {
        platform::PostMessageW(static_cast<GtkDialogFrame*>(self)->m_hwnd, platform::WM_CLOSE, 0, 0);
        return TRUE;
    }

    // Escape and Enter end it too (cancel and OK).
    static gboolean OnKey(GtkWidget*, GdkEventKey* event, gpointer self) {
        if (event->keyval != GDK_KEY_Escape && event->keyval != GDK_KEY_Return && event->keyval != GDK_KEY_KP_Enter) return FALSE;
        platform::PostMessageW(static_cast<GtkDialogFrame*>(self)->m_hwnd, platform::WM_CLOSE, 0, 0);
        return TRUE;
    }

    platform::HWND m_hwnd;
    GtkWidget* m_window = nullptr;
    GtkWidget* m_header = nullptr;
    GtkWidget* m_client = nullptr;
    platform::NativeChildSurface m_surface;
    GtkWindow* m_owner = nullptr;
};

}  // namespace

std::unique_ptr<DialogFrame> DialogFrame::Create(platform::HWND hwnd) {
    if (!gtk_init_check(nullptr, nullptr)) return nullptr;
    return std::make_unique<GtkDialogFrame>(hwnd);
}
