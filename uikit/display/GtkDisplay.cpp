#include "GtkDisplay.h"

#include "NativeChildSurfaceGtk.h"
#include "WindowCore.h"
#include "WindowMessaging.h"

#include "Text.h"

#include <cstdio>
#include <map>

#include <X11/Xlib.h>
#include <gdk/gdkx.h>
#include <gtk/gtk.h>

namespace uikit {
namespace {

// The desktop window of each platform window this display shows, so an owned window can
// stay above its owner.
std::map<platform::HWND, GtkWidget*>& Toplevels() {
    static std::map<platform::HWND, GtkWidget*> toplevels;
    return toplevels;
}

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
        m_surface.container = m_children;
        platform::SetWindowNativeSurface(hwnd, &m_surface);
        g_signal_connect(m_window, "button-press-event", G_CALLBACK(&GtkDisplayWindow::OnButton), this);
        g_signal_connect(m_window, "button-release-event", G_CALLBACK(&GtkDisplayWindow::OnButton), this);
        g_signal_connect(m_window, "motion-notify-event", G_CALLBACK(&GtkDisplayWindow::OnMotion), this);
        g_signal_connect(m_window, "leave-notify-event", G_CALLBACK(&GtkDisplayWindow::OnLeave), this);
        // Closing through the desktop asks the window, as the system close command would.
        g_signal_connect(m_window, "delete-event", G_CALLBACK(&GtkDisplayWindow::OnDelete), this);
        g_signal_connect(m_window, "window-state-event", G_CALLBACK(&GtkDisplayWindow::OnWindowState), this);
        SetTitle(platform::GetWindowTextW(hwnd));
        Toplevels()[hwnd] = m_window;
        // An owned window (a message box) stays above its owner.
        if (const auto owner = Toplevels().find(platform::GetParent(hwnd)); owner != Toplevels().end()) {
            gtk_window_set_transient_for(GTK_WINDOW(m_window), GTK_WINDOW(owner->second));
        }

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
        CancelShow();
        Toplevels().erase(m_hwnd);
        platform::SetWindowNativeSurface(m_hwnd, nullptr);
        // Disconnect first, so no callback reaches a half-destroyed object.
        g_signal_handlers_disconnect_by_data(m_window, this);
        gtk_widget_destroy(m_window);
        if (m_shadow != nullptr) {
            g_signal_handlers_disconnect_by_data(m_shadow, this);
            gtk_widget_destroy(m_shadow);
        }
    }

    // Shown on the loop's next turn, so a window shown and hidden again at once (the main
    // window is created visible and hidden until its page has loaded) never reaches the screen.
    void SetVisible(bool visible) override {
        if (!visible) {
            CancelShow();
            gtk_widget_hide(m_window);
        } else if (m_nShowSource == 0 && !gtk_widget_get_visible(m_window)) {
            m_nShowSource = g_idle_add(&GtkDisplayWindow::ShowNow, this);
        }
    }

    void SetMinimized(bool minimized) override {
        if (minimized == m_bMinimized) return;
        m_bMinimized = minimized;
        if (minimized) {
            gtk_window_iconify(GTK_WINDOW(m_window));
        } else {
            gtk_window_deiconify(GTK_WINDOW(m_window));
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
        GtkWindow* window = GTK_WINDOW(m_window);
        if (!m_bHavePress) {
            // A press the window did not see itself (inside an embedded page): the move
            // starts where the pointer is now.
            GdkDevice* pointer = gdk_seat_get_pointer(gdk_display_get_default_seat(gtk_widget_get_display(m_window)));
            gdk_device_get_position(pointer, nullptr, &m_nPressRootX, &m_nPressRootY);
            m_nPressTime = gtk_get_current_event_time();
        }
        if (hitCode == platform::HTCAPTION) {
            gtk_window_begin_move_drag(window, 1, m_nPressRootX, m_nPressRootY, m_nPressTime);
            return;
        }
        const std::pair<platform::LRESULT, GdkWindowEdge> edges[] = {
            {platform::HTLEFT, GDK_WINDOW_EDGE_WEST},
            {platform::HTRIGHT, GDK_WINDOW_EDGE_EAST},
            {platform::HTTOP, GDK_WINDOW_EDGE_NORTH},
            {platform::HTBOTTOM, GDK_WINDOW_EDGE_SOUTH},
            {platform::HTTOPLEFT, GDK_WINDOW_EDGE_NORTH_WEST},
            {platform::HTTOPRIGHT, GDK_WINDOW_EDGE_NORTH_EAST},
            {platform::HTBOTTOMLEFT, GDK_WINDOW_EDGE_SOUTH_WEST},
            {platform::HTBOTTOMRIGHT, GDK_WINDOW_EDGE_SOUTH_EAST},
        };
        for (const auto& [code, edge] : edges) {
            if (code == hitCode)
                gtk_window_begin_resize_drag(window, edge, 1, m_nPressRootX, m_nPressRootY, m_nPressTime);
        }
    }

    void SetEnabled(bool enabled) override {
        m_bEnabled = enabled;
        if (enabled) {
            if (m_catcher != nullptr) gtk_widget_destroy(m_catcher);
            m_catcher = nullptr;
            return;
        }
        if (m_catcher != nullptr) return;
        // Over everything the window holds (its embedded page too), a catcher that takes
        // every press, so none reaches the page and each is reported.
        m_catcher = gtk_event_box_new();
        gtk_event_box_set_visible_window(GTK_EVENT_BOX(m_catcher), FALSE);
        gtk_event_box_set_above_child(GTK_EVENT_BOX(m_catcher), TRUE);
        gtk_widget_add_events(m_catcher, GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK);
        gtk_widget_set_size_request(m_catcher, gtk_widget_get_allocated_width(m_window),
                                    gtk_widget_get_allocated_height(m_window));
        g_signal_connect(m_catcher, "button-press-event", G_CALLBACK(&GtkDisplayWindow::OnButton), this);
        g_signal_connect(m_catcher, "button-release-event", G_CALLBACK(&GtkDisplayWindow::OnButton), this);
        gtk_fixed_put(GTK_FIXED(m_children), m_catcher, 0, 0);
        gtk_widget_show(m_catcher);
    }

    void SetTitle(const std::wstring& title) override {
        gtk_window_set_title(GTK_WINDOW(m_window), platform::WideToUtf8(title).c_str());
    }

    void SetIcon(const void* image, std::size_t size) override {
        GdkPixbufLoader* loader = gdk_pixbuf_loader_new();
        if (gdk_pixbuf_loader_write(loader, static_cast<const guchar*>(image), size, nullptr) &&
            gdk_pixbuf_loader_close(loader, nullptr)) {
            gtk_window_set_icon(GTK_WINDOW(m_window), gdk_pixbuf_loader_get_pixbuf(loader));
        } else {
            gdk_pixbuf_loader_close(loader, nullptr);
        }
        g_object_unref(loader);
    }

    void RaiseAndActivate() override {
        // A window shown just now comes up at once, to be raised.
        if (m_nShowSource != 0) {
            CancelShow();
            gtk_widget_show(m_window);
        }
        GdkWindow* window = gtk_widget_get_window(m_window);
        if (window == nullptr || !gtk_widget_get_mapped(m_window)) return;  // a hidden window stays hidden
        gdk_window_raise(window);
        if (m_shadow != nullptr && gtk_widget_get_mapped(m_shadow))
            gdk_window_restack(gtk_widget_get_window(m_shadow), window, FALSE);
        if (!GDK_IS_X11_WINDOW(window)) {
            gtk_window_present(GTK_WINDOW(m_window));
            return;
        }
        // Asked for as a pager would ask, so focus-stealing prevention lets the request through.
        ::Display* display = GDK_DISPLAY_XDISPLAY(gdk_window_get_display(window));
        XEvent request{};
        request.xclient.type = ClientMessage;
        request.xclient.window = GDK_WINDOW_XID(window);
        request.xclient.message_type =
            gdk_x11_get_xatom_by_name_for_display(gdk_window_get_display(window), "_NET_ACTIVE_WINDOW");
        request.xclient.format = 32;
        request.xclient.data.l[0] = 2;
        request.xclient.data.l[1] = static_cast<long>(gdk_x11_get_server_time(window));
        XSendEvent(display, DefaultRootWindow(display), False, SubstructureRedirectMask | SubstructureNotifyMask,
                   &request);
        // Without a window manager nobody answers the request: the focus is given directly.
        if (!gdk_x11_screen_supports_net_wm_hint(gdk_window_get_screen(window),
                                                 gdk_atom_intern_static_string("_NET_ACTIVE_WINDOW"))) {
            gdk_window_focus(window, gdk_x11_get_server_time(window));
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

    // Minimised or restored through the desktop (the taskbar): the window hears it as the
    // system command it would be.
    static gboolean OnWindowState(GtkWidget*, GdkEventWindowState* event, gpointer data) {
        auto* self = static_cast<GtkDisplayWindow*>(data);
        if ((event->changed_mask & GDK_WINDOW_STATE_ICONIFIED) == 0) return FALSE;
        const bool minimized = (event->new_window_state & GDK_WINDOW_STATE_ICONIFIED) != 0;
        if (minimized == self->m_bMinimized) return FALSE;
        self->m_bMinimized = minimized;
        platform::PostMessageW(self->m_hwnd, platform::WM_SYSCOMMAND,
                               minimized ? platform::SC_MINIMIZE : platform::SC_RESTORE, 0);
        return FALSE;
    }

    static gboolean ShowNow(gpointer data) {
        auto* self = static_cast<GtkDisplayWindow*>(data);
        self->m_nShowSource = 0;
        gtk_widget_show(self->m_window);
        return G_SOURCE_REMOVE;
    }
    void CancelShow() {
        if (m_nShowSource != 0) g_source_remove(m_nShowSource);
        m_nShowSource = 0;
    }

    static gboolean OnDelete(GtkWidget*, GdkEvent*, gpointer data) {
        auto* self = static_cast<GtkDisplayWindow*>(data);
        // A disabled window's close does nothing, as no input of its own reaches it.
        if (self->m_bEnabled) platform::PostMessageW(self->m_hwnd, platform::WM_SYSCOMMAND, platform::SC_CLOSE, 0);
        return TRUE;
    }

    platform::HWND m_hwnd;
    IDisplayClient& m_client;
    GtkWidget* m_window = nullptr;
    GtkWidget* m_children = nullptr;
    platform::NativeChildSurface m_surface;
    GtkWidget* m_shadow = nullptr;
    bool m_bHavePress = false;
    bool m_bMinimized = false;
    bool m_bEnabled = true;
    guint m_nShowSource = 0;
    GtkWidget* m_catcher = nullptr;
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

    UIRect WorkAreaAt(int x, int y) override {
        GdkMonitor* monitor = gdk_display_get_monitor_at_point(gdk_display_get_default(), x, y);
        if (monitor == nullptr) return WorkArea();
        GdkRectangle area{};
        gdk_monitor_get_workarea(monitor, &area);
        return UIRect{area.x, area.y, area.x + area.width, area.y + area.height};
    }

    void ShowMessageBox(platform::HWND owner, const std::wstring& text, const std::wstring& caption) override {
        GtkWidget* dialog = gtk_message_dialog_new(nullptr, GTK_DIALOG_MODAL, GTK_MESSAGE_INFO, GTK_BUTTONS_OK, "%s",
                                                   platform::WideToUtf8(text).c_str());
        gtk_window_set_title(GTK_WINDOW(dialog), platform::WideToUtf8(caption).c_str());
        gtk_window_set_position(GTK_WINDOW(dialog), GTK_WIN_POS_CENTER);
        gtk_dialog_run(GTK_DIALOG(dialog));
        gtk_widget_destroy(dialog);
    }

    int TrackPopupMenu(const std::vector<MenuItem>& items, int x, int y) override {
        struct Choice {
            int id = 0;
            GMainLoop* loop = nullptr;
        } choice;
        choice.loop = g_main_loop_new(nullptr, FALSE);
        GtkWidget* menu = gtk_menu_new();
        for (const MenuItem& item : items) {
            GtkWidget* entry = gtk_menu_item_new_with_label(platform::WideToUtf8(item.text).c_str());
            g_object_set_data(G_OBJECT(entry), "vornakel-menu-id", GINT_TO_POINTER(item.id));
            g_signal_connect(entry, "activate", G_CALLBACK(+[](GtkMenuItem* entry, gpointer data) {
                                 static_cast<Choice*>(data)->id =
                                     GPOINTER_TO_INT(g_object_get_data(G_OBJECT(entry), "vornakel-menu-id"));
                             }),
                             &choice);
            gtk_menu_shell_append(GTK_MENU_SHELL(menu), entry);
        }
        gtk_widget_show_all(menu);
        g_signal_connect(menu, "deactivate", G_CALLBACK(+[](GtkMenuShell*, gpointer data) {
                             // The chosen item's "activate" comes after the menu closes: let it arrive first.
                             g_idle_add(
                                 +[](gpointer loop) -> gboolean {
                                     g_main_loop_quit(static_cast<GMainLoop*>(loop));
                                     return G_SOURCE_REMOVE;
                                 },
                                 static_cast<Choice*>(data)->loop);
                         }),
                         &choice);
        GdkWindow* root = gdk_get_default_root_window();
        const GdkRectangle at{x, y, 1, 1};
        gtk_menu_popup_at_rect(GTK_MENU(menu), root, &at, GDK_GRAVITY_NORTH_WEST, GDK_GRAVITY_NORTH_WEST, nullptr);
        // Returns with the choice, as a menu tracked by the system does.
        g_main_loop_run(choice.loop);
        g_main_loop_unref(choice.loop);
        gtk_widget_destroy(menu);
        return choice.id;
    }

    UISize CursorPos() override {
        int x = 0;
        int y = 0;
        gdk_device_get_position(gdk_seat_get_pointer(gdk_display_get_default_seat(gdk_display_get_default())), nullptr,
                                &x, &y);
        return UISize{x, y};
    }

    void ShowErrorBox(const std::string& text, const std::string& caption) override {
        GtkWidget* dialog =
            gtk_message_dialog_new(nullptr, GTK_DIALOG_MODAL, GTK_MESSAGE_ERROR, GTK_BUTTONS_OK, "%s", text.c_str());
        gtk_window_set_title(GTK_WINDOW(dialog), caption.c_str());
        gtk_dialog_run(GTK_DIALOG(dialog));
        gtk_widget_destroy(dialog);
    }
};

}  // namespace

std::unique_ptr<IDisplayBackend> CreateGtkDisplay(const std::string& programName) {
    // The desktop knows the program's windows by this name (WM_CLASS), as a desktop entry's
    // StartupWMClass names them.
    if (!programName.empty()) {
        g_set_prgname(programName.c_str());
        gdk_set_program_class(programName.c_str());
    }
    // A display that is there may refuse a connection for a moment (a busy virtual X server
    // does); it is asked again before the program goes on without one.
    for (int attempt = 0; !gtk_init_check(nullptr, nullptr); ++attempt) {
        if (attempt == 4 || g_getenv("DISPLAY") == nullptr) return nullptr;
        std::fprintf(stderr, "display %s refused the connection, asking again\n", g_getenv("DISPLAY"));
        g_usleep(200 * 1000);
    }
    return std::make_unique<GtkDisplay>();
}

}  // namespace uikit
