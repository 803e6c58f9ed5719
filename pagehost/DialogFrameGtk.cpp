#include "DialogFrame.h"

#include "Text.h"
#include "WindowCore.h"
#include "WindowMessaging.h"

#include <gtk/gtk.h>

namespace {

class GtkDialogFrame final : public DialogFrame {
public:
    explicit GtkDialogFrame(platform::HWND hwnd) : m_hwnd(hwnd) {
        m_window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
        gtk_window_set_resizable(GTK_WINDOW(m_window), FALSE);
        // The frame draws its own title bar, so no window manager adds to the outer size.
        gtk_window_set_decorated(GTK_WINDOW(m_window), FALSE);
        m_header = gtk_header_bar_new();
        gtk_header_bar_set_show_close_button(GTK_HEADER_BAR(m_header), TRUE);
        gtk_header_bar_set_decoration_layout(GTK_HEADER_BAR(m_header), ":close");
        GtkWidget* column = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
        gtk_container_add(GTK_CONTAINER(m_window), column);
        m_client = gtk_fixed_new();
        gtk_box_pack_start(GTK_BOX(column), m_header, FALSE, FALSE, 0);
        gtk_box_pack_start(GTK_BOX(column), m_client, TRUE, TRUE, 0);
        gtk_widget_show(column);
        gtk_widget_show(m_header);
        gtk_widget_show(m_client);
        g_signal_connect(m_window, "delete-event", G_CALLBACK(&GtkDialogFrame::OnDelete), this);
        g_signal_connect(m_window, "key-press-event", G_CALLBACK(&GtkDialogFrame::OnKey), this);
        platform::SetWindowNativeSurface(hwnd, m_client);
    }

    ~GtkDialogFrame() override {
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
        gtk_widget_set_size_request(m_client, outerWidth, outerHeight - caption);
        GdkRectangle screen{0, 0, outerWidth, outerHeight};
        GdkDisplay* display = gdk_display_get_default();
        GdkMonitor* monitor = gdk_display_get_primary_monitor(display);
        if (monitor == nullptr) monitor = gdk_display_get_monitor(display, 0);
        if (monitor != nullptr) gdk_monitor_get_geometry(monitor, &screen);
        gtk_window_move(GTK_WINDOW(m_window), screen.x + (screen.width - outerWidth) / 2,
                        screen.y + (screen.height - outerHeight) / 2);
        gtk_widget_show(m_window);
    }

    void Hide() override { gtk_widget_hide(m_window); }

    void SetTitle(const std::wstring& title) override {
        gtk_window_set_title(GTK_WINDOW(m_window), platform::WideToUtf8(title).c_str());
        gtk_header_bar_set_title(GTK_HEADER_BAR(m_header), platform::WideToUtf8(title).c_str());
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
};

}  // namespace

std::unique_ptr<DialogFrame> DialogFrame::Create(platform::HWND hwnd) {
    if (!gtk_init_check(nullptr, nullptr)) return nullptr;
    return std::make_unique<GtkDialogFrame>(hwnd);
}
