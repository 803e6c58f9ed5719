// The GTK display on a real X server.
#include "WindowImplBase.h"

#include "GtkLoop.h"
#include "IsolatedEnvironment.h"
#include "UIContainer.h"
#include "display/GtkDisplay.h"

#include <gtest/gtest.h>
#include <gtk/gtk.h>

namespace {

class DownloadPage : public uikit::WindowImplBase {
public:
    const wchar_t* GetWindowClassName() const override { return L"GtkTestWindow"; }
    std::wstring GetSkinFolder() const override { return L""; }
    std::wstring GetSkinFile() const override { return L"GameLoader.xml"; }
    int GetResourceID() const override { return 130; }
    std::vector<std::string> clicks;

protected:
    void InitWindow() override { m_PaintManager.FindControlAs<uikit::CTabLayoutUI>("wizardTab")->SelectItem(1); }
    void OnClick(uikit::TNotifyUI& msg) override { clicks.push_back(msg.pSender->GetName()); }
};

GtkWidget* OurToplevel() {
    GList* toplevels = gtk_window_list_toplevels();
    GtkWidget* found = nullptr;
    for (GList* item = toplevels; item != nullptr; item = item->next) {
        GtkWidget* widget = GTK_WIDGET(item->data);
        if (gtk_widget_get_mapped(widget) && gtk_window_get_window_type(GTK_WINDOW(widget)) == GTK_WINDOW_TOPLEVEL) found = widget;
    }
    g_list_free(toplevels);
    return found;
}

void SendButton(GtkWidget* widget, GdkEventType type, int x, int y) {
    GdkEvent* event = gdk_event_new(type);
    event->button.window = GDK_WINDOW(g_object_ref(gtk_widget_get_window(widget)));
    event->button.button = 1;
    event->button.x = x;
    event->button.y = y;
    event->button.time = GDK_CURRENT_TIME;
    gdk_event_set_device(event, gdk_seat_get_pointer(gdk_display_get_default_seat(gdk_display_get_default())));
    gtk_main_do_event(event);
    gdk_event_free(event);
}

TEST(GtkDisplay, WindowMapsFramelessAtItsLayoutSizeAndButtonsClick) {
    IsolatedEnvironment environment;
    std::unique_ptr<uikit::IDisplayBackend> gtk = uikit::CreateGtkDisplay();
    ASSERT_NE(gtk, nullptr) << "no X server: run under xvfb-run";
    uikit::SetDisplay(std::move(gtk));

    DownloadPage window;
    const platform::HWND hwnd = window.Create(0, L"Kaldrenmoor", 0, 0);
    window.CenterWindow();
    platform::ShowWindow(hwnd, platform::SW_SHOWNORMAL);
    ASSERT_TRUE(SpinUntil([] { return OurToplevel() != nullptr; }));
    GtkWidget* toplevel = OurToplevel();
    EXPECT_FALSE(gtk_window_get_decorated(GTK_WINDOW(toplevel)));
    ASSERT_TRUE(SpinUntil([&] {
        return gtk_widget_get_allocated_width(toplevel) == 960 && gtk_widget_get_allocated_height(toplevel) == 620;
    }));
    int width = 0;
    int height = 0;
    gdk_window_get_geometry(gtk_widget_get_window(toplevel), nullptr, nullptr, &width, &height);
    EXPECT_EQ(width, 960);
    EXPECT_EQ(height, 620);

    SendButton(toplevel, GDK_BUTTON_PRESS, 942, 19);
    SendButton(toplevel, GDK_BUTTON_RELEASE, 942, 19);
    EXPECT_EQ(window.clicks, std::vector<std::string>{"btnClose"});

    platform::DestroyWindow(hwnd);
    SpinUntil([] { return OurToplevel() == nullptr; });
    uikit::SetDisplay(nullptr);
}

}  // namespace
