#include "GtkDisplay.h"

#include "WindowCore.h"
#include "WindowMessaging.h"

#include <gtk/gtk.h>

namespace uikit {
namespace {

// Follows a GTK toplevel for one platform window, and its shadow window when there is one.
class GtkDisplayWindow final : public IDisplayWindow {
public:
    GtkDisplayWindow(platform::HWND hwnd, IDisplayClient& client) : m_hwnd(hwnd), m_client(client) {
        m_window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
        gtk_window_set_decorated(GTK_WINDOW(m_window), FALSE);
        gtk_window_set_resizable(GTK_WINDOW(m_window), FALSE);
        gtk_widget_set_app_paintable(m_window, TRUE);
        gtk_widget_add_events(m_window, GDK_POINTER_MOTION_MASK | GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK |
                                            GDK_LEAVE_NOTIFY_MASK);
        g_signal_connect(m_window, "draw", G_CALLBACK(&GtkDisplayWindow::OnDraw), this);
        // Child windows of the platform window (an embedded browser) live in this container.
        m_children = gtk_fixed_new();
        gtk_container_add(GTK_CONTAINER(m_window), m_children);
        gtk_widget_show(m_children);
        platform::SetWindowNativeSurface(hwnd, m_children);
        g_signal_connect(m_window, "button-press-event", G_CALLBACK(&GtkDisplayWindow::OnButton), this);
        g_signal_connect(m_window, "button-release-event", G_CALLBACK(&GtkDisplayWindow::OnButton), this);
        g_signal_connect(m_window, "motion-notify-event", G_CALLBACK(&GtkDisplayWindow::OnMotion), this);
        g_signal_connect(m_window, "leave-notify-event", G_CALLBACK(&GtkDisplayWindow::OnLeave), this);
        // Closing through the desktop asks the window, as the system close command would.
        g_signal_connect(m_window, "delete-event", G_CALLBACK(&GtkDisplayWindow::OnDelete), this);

        GdkScreen* screen = gtk_widget_get_screen(m_window);
        const UIRect corners = client.ShadowCorners();
        if (corners != UIRect{} && gdk_screen_is_composited(screen) && gdk_screen_get_rgba_visual(screen) != nullptr) {
            m_shadow = gtk_window_new(GTK_WINDOW_POPUP);
            gtk_widget_set_visual(m_shadow, gdk_screen_get_rgba_visual(screen));
            gtk_widget_set_app_paintable(m_shadow, TRUE);
            g_signal_connect(m_shadow, "draw", G_CALLBACK(&GtkDisplayWindow::OnDrawShadow), this);
            g_signal_connect(m_shadow, "realize", G_CALLBACK(&GtkDisplayWindow::OnShadowRealized), nullptr);
        }
    }

    ~GtkDisplayWindow() override {
        platform::SetWindowNativeSurface(m_hwnd, nullptr);
        // Disconnect first, so no callback reaches a half-destroyed object.
        g_signal_handlers_disconnect_by_data(m_window, this);
        gtk_widget_destroy(m_window);
        if (m_shadow != nullptr) {
            g_signal_handlers_disconnect_by_data(m_shadow, this);
            gtk_widget_destroy(m_shadow);
        }
    }

    void SetVisible(bool visible) override {
        if (visible) {
            gtk_widget_show(m_window);
        } else {
            gtk_widget_hide(m_window);
        }
    }

    void SetShadowVisible(bool visible) override {
        if (m_shadow == nullptr) return;
        if (visible) {
            gtk_widget_show(m_shadow);
        } else {
            gtk_widget_hide(m_shadow);
        }
    }

    void SetRect(const UIRect& rect) override {
        gtk_widget_set_size_request(m_window, rect.Width(), rect.Height());
        ApplyTrackSizes();
        gtk_window_resize(GTK_WINDOW(m_window), rect.Width(), rect.Height());
        gtk_window_move(GTK_WINDOW(m_window), rect.left, rect.top);
        if (m_shadow != nullptr) {
            const UIRect corners = m_client.ShadowCorners();
            const int width = rect.Width() + corners.left + corners.right;
            const int height = rect.Height() + corners.top + corners.bottom;
            gtk_widget_set_size_request(m_shadow, width, height);
            gtk_window_resize(GTK_WINDOW(m_shadow), width, height);
            gtk_window_move(GTK_WINDOW(m_shadow), rect.left - corners.left, rect.top - corners.top);
        }
    }

    void Invalidate(const UIRect& rect) override {
        gtk_widget_queue_draw_area(m_window, rect.left, rect.top, rect.Width(), rect.Height());
    }

    void BeginDrag(platform::LRESULT hitCode) override {
        if (!m_bHavePress) return;
        GtkWindow* window = GTK_WINDOW(m_window);
        if (hitCode == platform::HTCAPTION) {
            gtk_window_begin_move_drag(window, 1, m_nPressRootX, m_nPressRootY, m_nPressTime);
            return;
        }
        const std::pair<platform::LRESULT, GdkWindowEdge> edges[] = {
            {platform::HTLEFT, GDK_WINDOW_EDGE_WEST},          {platform::HTRIGHT, GDK_WINDOW_EDGE_EAST},
            {platform::HTTOP, GDK_WINDOW_EDGE_NORTH},          {platform::HTBOTTOM, GDK_WINDOW_EDGE_SOUTH},
            {platform::HTTOPLEFT, GDK_WINDOW_EDGE_NORTH_WEST}, {platform::HTTOPRIGHT, GDK_WINDOW_EDGE_NORTH_EAST},
            {platform::HTBOTTOMLEFT, GDK_WINDOW_EDGE_SOUTH_WEST}, {platform::HTBOTTOMRIGHT, GDK_WINDOW_EDGE_SOUTH_EAST},
        };
        for (const auto& [code, edge] : edges) {
            if (code == hitCode) gtk_window_begin_resize_drag(window, edge, 1, m_nPressRootX, m_nPressRootY, m_nPressTime);
        }
    }

private:
    // The window manager keeps the window within the layout's mininfo and maxinfo.
    void ApplyTrackSizes() {
        GdkGeometry hints{};
        int mask = 0;
        const UISize minimum = m_client.MinTrackSize();
        const UISize maximum = m_client.MaxTrackSize();
        if (minimum.cx > 0 && minimum.cy > 0) {
            hints.min_width = minimum.cx;
            hints.min_height = minimum.cy;
            mask |= GDK_HINT_MIN_SIZE;
        }
        if (maximum.cx > 0 && maximum.cy > 0) {
            hints.max_width = maximum.cx;
            hints.max_height = maximum.cy;
            mask |= GDK_HINT_MAX_SIZE;
        }
        gtk_window_set_geometry_hints(GTK_WINDOW(m_window), nullptr, &hints, static_cast<GdkWindowHints>(mask));
    }

    static gboolean OnDraw(GtkWidget*, cairo_t* cr, gpointer self) {
        static_cast<GtkDisplayWindow*>(self)->m_client.PaintClient(cr);
        return FALSE;  // the children draw over the skin
    }

    static gboolean OnDrawShadow(GtkWidget* widget, cairo_t* cr, gpointer self) {
        cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
        cairo_paint(cr);
        cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
        const int width = gtk_widget_get_allocated_width(widget);
        const int height = gtk_widget_get_allocated_height(widget);
        static_cast<GtkDisplayWindow*>(self)->m_client.PaintShadow(cr, UIRect{0, 0, width, height});
        return TRUE;
    }

    // The shadow lets every click through to what lies below it.
    static void OnShadowRealized(GtkWidget* widget, gpointer) {
        cairo_region_t* empty = cairo_region_create();
        gdk_window_input_shape_combine_region(gtk_widget_get_window(widget), empty, 0, 0);
        cairo_region_destroy(empty);
    }

    static gboolean OnButton(GtkWidget*, GdkEventButton* event, gpointer data) {
        auto* self = static_cast<GtkDisplayWindow*>(data);
        if (event->button != 1 || (event->type != GDK_BUTTON_PRESS && event->type != GDK_BUTTON_RELEASE)) return FALSE;
        const bool press = event->type == GDK_BUTTON_PRESS;
        if (press) {
            self->m_bHavePress = true;
            self->m_nPressRootX = static_cast<int>(event->x_root);
            self->m_nPressRootY = static_cast<int>(event->y_root);
            self->m_nPressTime = event->time;
        }
        platform::SendMessageW(self->m_hwnd, press ? platform::WM_LBUTTONDOWN : platform::WM_LBUTTONUP, press ? 1 : 0,
                               platform::MAKELPARAM(static_cast<int>(event->x), static_cast<int>(event->y)));
        return TRUE;
    }

    static gboolean OnMotion(GtkWidget*, GdkEventMotion* event, gpointer self) {
        platform::SendMessageW(static_cast<GtkDisplayWindow*>(self)->m_hwnd, platform::WM_MOUSEMOVE, 0,
                               platform::MAKELPARAM(static_cast<int>(event->x), static_cast<int>(event->y)));
        return TRUE;
    }

    static gboolean OnLeave(GtkWidget*, GdkEventCrossing*, gpointer self) {
        platform::SendMessageW(static_cast<GtkDisplayWindow*>(self)->m_hwnd, platform::WM_MOUSELEAVE, 0, 0);
        return TRUE;
    }

    static gboolean OnDelete(GtkWidget*, GdkEvent*, gpointer self) {
        platform::PostMessageW(static_cast<GtkDisplayWindow*>(self)->m_hwnd, platform::WM_SYSCOMMAND, platform::SC_CLOSE, 0);
        return TRUE;
    }

    platform::HWND m_hwnd;
    IDisplayClient& m_client;
    GtkWidget* m_window = nullptr;
    GtkWidget* m_children = nullptr;
    GtkWidget* m_shadow = nullptr;
    bool m_bHavePress = false;
    int m_nPressRootX = 0;
    int m_nPressRootY = 0;
    guint32 m_nPressTime = 0;
};

class GtkDisplay final : public IDisplayBackend {
public:
    std::unique_ptr<IDisplayWindow> CreateDisplayWindow(platform::HWND hwnd, IDisplayClient& client) override {
        return std::make_unique<GtkDisplayWindow>(hwnd, client);
    }

    UIRect WorkArea() override {
        GdkDisplay* display = gdk_display_get_default();
        GdkMonitor* monitor = gdk_display_get_primary_monitor(display);
        if (monitor == nullptr) monitor = gdk_display_get_monitor(display, 0);
        GdkRectangle area{0, 0, 1920, 1080};
        if (monitor != nullptr) gdk_monitor_get_workarea(monitor, &area);
        return UIRect{area.x, area.y, area.x + area.width, area.y + area.height};
    }

    void ShowErrorBox(const std::string& text, const std::string& caption) override {
        GtkWidget* dialog = gtk_message_dialog_new(nullptr, GTK_DIALOG_MODAL, GTK_MESSAGE_ERROR, GTK_BUTTONS_OK, "%s", text.c_str());
        gtk_window_set_title(GTK_WINDOW(dialog), caption.c_str());
        gtk_dialog_run(GTK_DIALOG(dialog));
        gtk_widget_destroy(dialog);
    }
};

}  // namespace

std::unique_ptr<IDisplayBackend> CreateGtkDisplay() {
    if (!gtk_init_check(nullptr, nullptr)) return nullptr;
    return std::make_unique<GtkDisplay>();
}

}  // namespace uikit
