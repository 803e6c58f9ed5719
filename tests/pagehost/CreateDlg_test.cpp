// The browser dialog through the library as a host loads it, on a real X server, with
// pages served on 127.0.0.1 by the test and a stand-in default browser that records what
// it is given.
#include "ChildProcess.h"
#include "GtkLoop.h"
#include "HttpTestServer.h"
#include "IsolatedEnvironment.h"

#include "WindowCore.h"

#include <dlfcn.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <atomic>
#include <thread>
#include <webkit2/webkit2.h>

namespace {

constexpr int kPort = 15085;
const std::string kPage = "http://127.0.0.1:15085/pay.html";
using CreateDlgFunction = std::int32_t (*)(int, int, const char*, bool);

struct Dialog {
    GtkWidget* window = nullptr;
    GtkWidget* view = nullptr;
};

Dialog VisibleDialog() {
    Dialog dialog;
    dialog.window = VisibleBrowserWindow(&dialog.view);
    return dialog;
}

class CreateDlg : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(gtk_init_check(nullptr, nullptr)) << "no X server: run under xvfb-run";
        m_library = dlopen(VK_BIN_DIR "/libpagehost.so", RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(m_library, nullptr) << dlerror();
        m_createDlg = reinterpret_cast<CreateDlgFunction>(dlsym(m_library, "CreateDlg"));
        ASSERT_NE(m_createDlg, nullptr);
        // Where GLib looks: it reads the XDG variables once per process.
        const std::string applications = std::string(g_get_user_data_dir()) + "/applications";
        std::filesystem::create_directories(applications);
        WriteWholeFile(applications + "/stand-in-browser.desktop",
                       "[Desktop Entry]\nType=Application\nName=Stand-in browser\n"
                       "Exec=/bin/sh -c 'printf \"%%s\\\\n\" \"$1\" >> \"" + Record() + "\"' browser %u\n"
                       "MimeType=x-scheme-handler/http;x-scheme-handler/https;x-scheme-handler/custom;\n");
        std::filesystem::create_directories(g_get_user_config_dir());
        WriteWholeFile(std::string(g_get_user_config_dir()) + "/mimeapps.list",
                       "[Default Applications]\nx-scheme-handler/http=stand-in-browser.desktop\n"
                       "x-scheme-handler/https=stand-in-browser.desktop\nx-scheme-handler/custom=stand-in-browser.desktop\n");
    }
    std::string Record() const { return m_environment.Root() + "/opened.txt"; }
    // The dialog once its page has loaded.
    Dialog Loaded() {
        Dialog dialog;
        EXPECT_TRUE(SpinUntil([&] {
            dialog = VisibleDialog();
            return dialog.view != nullptr && !webkit_web_view_is_loading(WEBKIT_WEB_VIEW(dialog.view)) &&
                   gtk_widget_get_allocated_height(dialog.view) > 1;
        }));
        return dialog;
    }

    IsolatedEnvironment m_environment;
    void* m_library = nullptr;
    CreateDlgFunction m_createDlg = nullptr;
};

struct DpiRow {
    double dpi;
    int browserWidth;
    int browserHeight;
    int zoom;
};

TEST_F(CreateDlg, ModelessDialogIsSizedZoomedAndCentredForTheScreen) {
    HttpTestServer server(kPort, 200, "<html><head><meta charset='utf-8'></head><body>支付</body></html>");
    ASSERT_TRUE(server.IsListening());
    for (const DpiRow& row : {DpiRow{96, 800, 600, 100}, DpiRow{120, 1000, 750, 156}}) {
        gdk_screen_set_resolution(gdk_screen_get_default(), row.dpi);
        const std::int32_t handle = m_createDlg(800, 600, kPage.c_str(), false);
        ASSERT_GT(handle, 0);
        const Dialog dialog = Loaded();
        ASSERT_NE(dialog.view, nullptr);
        EXPECT_EQ(gtk_widget_get_allocated_width(dialog.view), row.browserWidth);
        EXPECT_EQ(gtk_widget_get_allocated_height(dialog.view), row.browserHeight);
        EXPECT_EQ(static_cast<int>(webkit_web_view_get_zoom_level(WEBKIT_WEB_VIEW(dialog.view)) * 100 + 0.5), row.zoom);

        GtkAllocation view;
        gtk_widget_get_allocation(dialog.view, &view);
        const int caption = view.y;  // the browser sits right below the title bar, at the client origin
        EXPECT_EQ(view.x, 0);
        EXPECT_GT(caption, 0);
        const int outerWidth = gtk_widget_get_allocated_width(dialog.window);
        const int outerHeight = gtk_widget_get_allocated_height(dialog.window);
        EXPECT_EQ(outerWidth, row.browserWidth + 10);
        EXPECT_EQ(outerHeight, row.browserHeight + caption + 10);
        GdkRectangle screen;
        gdk_monitor_get_geometry(gdk_display_get_monitor(gdk_display_get_default(), 0), &screen);
        int x = 0;
        int y = 0;
        gtk_window_get_position(GTK_WINDOW(dialog.window), &x, &y);
        EXPECT_EQ(x, (screen.width - outerWidth) / 2);
        EXPECT_EQ(y, (screen.height - outerHeight) / 2);
        EXPECT_STREQ(gtk_window_get_title(GTK_WINDOW(dialog.window)), "");
        // The host finds, messages and destroys the dialog by its handle.
        EXPECT_EQ(platform::FindWindowW(L"MyWebDlg", L""), handle);
        EXPECT_TRUE(platform::IsWindow(handle));
        EXPECT_EQ(platform::SendMessageW(handle, platform::WM_NULL, 0, 0), 0);
        EXPECT_TRUE(platform::DestroyWindow(handle));
        EXPECT_FALSE(platform::IsWindow(handle));
        EXPECT_TRUE(SpinUntil([] { return VisibleDialog().view == nullptr; }));
    }
}

TEST_F(CreateDlg, ModalCallReturnsZeroOnceClosed) {
    HttpTestServer server(kPort, 200, "<html><body>modal</body></html>");
    ASSERT_TRUE(server.IsListening());
    // The close box, pressed once the page has loaded.
    g_timeout_add(50, [](gpointer) -> gboolean {
        const Dialog dialog = VisibleDialog();
        if (dialog.view == nullptr || webkit_web_view_is_loading(WEBKIT_WEB_VIEW(dialog.view))) return G_SOURCE_CONTINUE;
        gtk_window_close(GTK_WINDOW(dialog.window));
        return G_SOURCE_REMOVE;
    }, nullptr);
    EXPECT_EQ(m_createDlg(400, 300, kPage.c_str(), true), 0);
    EXPECT_EQ(VisibleDialog().view, nullptr);
}

TEST_F(CreateDlg, NewWindowsGoToTheDefaultBrowserAndTheDialogStays) {
    HttpTestServer server(kPort, 200,
                          "<html><body><a id='a' href='https://shop.example/blank' target='_blank'>x</a>"
                          "<a id='f' href='file:///etc/passwd' target='_blank'>f</a>"
                          "<script>for (const a of ['https://@/', 'http://:@', 'http://\\x01\\x02/', 'https://a.example/\\u2028x'])"
                          " { try { window.open(a); } catch (e) {} }"
                          "window.open('https://pay.example/open');window.open('custom://run');"
                          "document.getElementById('a').click();document.getElementById('f').click();</script></body></html>");
    ASSERT_TRUE(server.IsListening());
    const std::int32_t handle = m_createDlg(400, 300, kPage.c_str(), false);
    ASSERT_GT(handle, 0);
    const Dialog dialog = Loaded();
    ASSERT_TRUE(SpinUntil([&] {
        const std::string text = ReadWholeFile(Record());
        return text.find("https://pay.example/open\n") != std::string::npos && text.find("https://shop.example/blank\n") != std::string::npos;
    })) << ReadWholeFile(Record());
    SpinUntil([] { return false; }, 1);  // time for anything else to arrive
    const std::string opened = ReadWholeFile(Record());
    EXPECT_EQ(opened.find("custom://"), std::string::npos);
    EXPECT_EQ(opened.find("file://"), std::string::npos);
    EXPECT_EQ(opened.find("@"), std::string::npos) << opened;
    EXPECT_EQ(opened.find("\x01"), std::string::npos) << opened;
    EXPECT_EQ(std::string(webkit_web_view_get_uri(WEBKIT_WEB_VIEW(dialog.view))), kPage);
    EXPECT_TRUE(platform::DestroyWindow(handle));
}

// Another process writes crafted frames of every message number to the dialog: the host
// lives, the dialog stays, and its loop keeps answering.
TEST_F(CreateDlg, CraftedFramesFromAnotherProcessLeaveTheHostAndTheDialogServing) {
    HttpTestServer server(kPort, 200, "<html><body>dialog</body></html>");
    ASSERT_TRUE(server.IsListening());
    const std::int32_t handle = m_createDlg(400, 300, kPage.c_str(), false);
    ASSERT_GT(handle, 0);
    Loaded();
    ChildProcess sender(VK_BIN_DIR "/hostile-sender",
                        {std::to_string(handle), std::to_string(platform::WM_CLOSE), std::to_string(platform::WM_SYSCOMMAND)},
                        m_environment.Root());
    int exitCode = -1;
    EXPECT_TRUE(SpinUntil([&] { return (exitCode = sender.Wait(0)) != -1; }, 60));
    EXPECT_EQ(exitCode, 0);
    EXPECT_TRUE(platform::IsWindow(handle));
    EXPECT_NE(VisibleDialog().view, nullptr);
    EXPECT_TRUE(platform::DestroyWindow(handle));
}

// A page's script dialogs are shown: only the launcher's browser is silent.
TEST_F(CreateDlg, ScriptDialogsOfThePageAreShown) {
    HttpTestServer server(kPort, 200,
                          "<html><body>x<script>setTimeout(() => { const answer = confirm('确定?');"
                          " fetch('/after?answer=' + answer); }, 100)</script></body></html>");
    ASSERT_TRUE(server.IsListening());
    const std::int32_t handle = m_createDlg(400, 300, kPage.c_str(), false);
    const Dialog dialog = Loaded();
    ASSERT_NE(dialog.view, nullptr);
    EXPECT_TRUE(SpinUntil([&] { return ShownBrowserChild(dialog.view, "WebKitScriptDialogImpl") != nullptr; }, 10));
    for (const HttpTestServer::Request& request : server.Requests()) {
        EXPECT_EQ(request.head.find("/after"), std::string::npos) << "the question was answered without the player";
    }
    EXPECT_TRUE(platform::DestroyWindow(handle));
}

// An address that cannot be loaded shows the browser's own error page, not a blank area.
TEST_F(CreateDlg, AnAddressThatCannotBeLoadedShowsTheErrorPage) {
    for (const char* address : {"http://127.0.0.1:15086/refused", "file:///nonexistent/page.html", "not an address"}) {
        const std::int32_t handle = m_createDlg(400, 300, address, false);
        ASSERT_GT(handle, 0) << address;
        const Dialog dialog = Loaded();
        ASSERT_NE(dialog.view, nullptr) << address;
        std::string text;
        EXPECT_TRUE(SpinUntil([&] { return !(text = RunScript(dialog.view, "document.body ? document.body.innerText : ''")).empty(); }, 10))
            << address;
        EXPECT_TRUE(platform::DestroyWindow(handle));
        EXPECT_TRUE(SpinUntil([] { return VisibleDialog().view == nullptr; }));
    }
}

// Each thread may ask for dialogs; they all live where the toolkit does, and the calls wait.
TEST_F(CreateDlg, DialogsFromOtherThreadsLiveOnTheMainThread) {
    HttpTestServer server(kPort, 200, "<html><body>线程</body></html>");
    ASSERT_TRUE(server.IsListening());
    const std::int32_t first = m_createDlg(400, 300, kPage.c_str(), false);
    ASSERT_GT(first, 0);
    std::int32_t second = -1;
    std::thread other([&] { second = m_createDlg(300, 200, kPage.c_str(), false); });
    EXPECT_TRUE(SpinUntil([&] { return second != -1; }));
    other.join();
    EXPECT_GT(second, 0);
    EXPECT_TRUE(platform::IsWindow(second));

    // Two modal dialogs from two threads: each call returns 0 once its dialog is closed.
    std::atomic<int> returned{0};
    std::vector<std::thread> modal;
    for (int i = 0; i < 2; ++i) {
        modal.emplace_back([&] {
            EXPECT_EQ(m_createDlg(200, 150, kPage.c_str(), true), 0);
            ++returned;
        });
    }
    const auto modalDialogs = [] {
        int count = 0;
        GList* toplevels = gtk_window_list_toplevels();
        for (GList* item = toplevels; item != nullptr; item = item->next) {
            if (gtk_widget_get_visible(GTK_WIDGET(item->data)) && gtk_window_get_modal(GTK_WINDOW(item->data))) ++count;
        }
        g_list_free(toplevels);
        return count;
    };
    EXPECT_TRUE(SpinUntil([&] { return modalDialogs() == 2; }));
    EXPECT_EQ(returned, 0);
    // One at a time: a modal window takes input only while it is the newest one up.
    for (int closed = 1; closed <= 2; ++closed) {
        GList* toplevels = gtk_window_list_toplevels();
        for (GList* item = toplevels; item != nullptr; item = item->next) {
            if (gtk_widget_get_visible(GTK_WIDGET(item->data)) && gtk_window_get_modal(GTK_WINDOW(item->data))) {
                gtk_window_close(GTK_WINDOW(item->data));
            }
        }
        g_list_free(toplevels);
        EXPECT_TRUE(SpinUntil([&] { return returned == closed; })) << closed;
    }
    for (std::thread& thread : modal) thread.join();
    EXPECT_TRUE(platform::DestroyWindow(first));
    EXPECT_TRUE(platform::DestroyWindow(second));
}

// While a modal dialog is up, the host's window takes no input and the dialog stays above it.
TEST_F(CreateDlg, AModalDialogDisablesItsHostsWindow) {
    HttpTestServer server(kPort, 200, "<html><body>modal</body></html>");
    ASSERT_TRUE(server.IsListening());
    GtkWidget* owner = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_default_size(GTK_WINDOW(owner), 300, 200);
    gtk_widget_show(owner);
    gtk_window_present(GTK_WINDOW(owner));
    SpinUntil([&] { return gtk_widget_get_mapped(owner); });
    struct Seen {
        GtkWidget* owner;
        bool ownerSensitive = true;
        GtkWindow* transientFor = nullptr;
    } seen{owner};
    g_timeout_add(50, [](gpointer data) -> gboolean {
        auto* seen = static_cast<Seen*>(data);
        const Dialog dialog = VisibleDialog();
        if (dialog.view == nullptr || webkit_web_view_is_loading(WEBKIT_WEB_VIEW(dialog.view))) return G_SOURCE_CONTINUE;
        seen->ownerSensitive = gtk_widget_get_sensitive(seen->owner);
        seen->transientFor = gtk_window_get_transient_for(GTK_WINDOW(dialog.window));
        gtk_window_close(GTK_WINDOW(dialog.window));
        return G_SOURCE_REMOVE;
    }, &seen);
    EXPECT_EQ(m_createDlg(400, 300, kPage.c_str(), true), 0);
    EXPECT_FALSE(seen.ownerSensitive);
    EXPECT_EQ(seen.transientFor, GTK_WINDOW(owner));
    EXPECT_TRUE(gtk_widget_get_sensitive(owner));
    gtk_widget_destroy(owner);
}

// Below what its title bar needs, the dialog takes that width and is centred on its real size.
TEST_F(CreateDlg, ATinyDialogIsAsWideAsItsTitleBarAndCentredOnItsRealSize) {
    HttpTestServer server(kPort, 200, "<html><body>.</body></html>");
    ASSERT_TRUE(server.IsListening());
    gdk_screen_set_resolution(gdk_screen_get_default(), 96);
    for (const auto& [width, height] : {std::pair{20, 20}, std::pair{100, 5}}) {
        const std::int32_t handle = m_createDlg(width, height, kPage.c_str(), false);
        const Dialog dialog = Loaded();
        ASSERT_NE(dialog.view, nullptr);
        EXPECT_EQ(gtk_widget_get_allocated_width(dialog.view), width);
        EXPECT_EQ(gtk_widget_get_allocated_height(dialog.view), height);
        const int outerWidth = gtk_widget_get_allocated_width(dialog.window);
        EXPECT_GE(outerWidth, width + 10);
        GdkRectangle screen;
        gdk_monitor_get_geometry(gdk_display_get_monitor(gdk_display_get_default(), 0), &screen);
        int x = 0;
        int y = 0;
        gtk_window_get_position(GTK_WINDOW(dialog.window), &x, &y);
        EXPECT_EQ(x, (screen.width - outerWidth) / 2) << width;
        EXPECT_TRUE(platform::DestroyWindow(handle));
        EXPECT_TRUE(SpinUntil([] { return VisibleDialog().view == nullptr; }));
    }
}

// The title bar drags the dialog, with or without a window manager, and opens its menu.
TEST_F(CreateDlg, TheTitleBarDragsTheDialogAndOpensItsWindowMenu) {
    HttpTestServer server(kPort, 200, "<html><body>drag</body></html>");
    ASSERT_TRUE(server.IsListening());
    const std::int32_t handle = m_createDlg(400, 300, kPage.c_str(), false);
    const Dialog dialog = Loaded();
    ASSERT_NE(dialog.view, nullptr);
    int x = 0;
    int y = 0;
    gtk_window_get_position(GTK_WINDOW(dialog.window), &x, &y);
    const int grabX = x + 100;
    const int grabY = y + 15;  // inside the title bar, away from the close box
    const auto xdotool = [&](const std::vector<std::string>& arguments) {
        ChildProcess tool("/usr/bin/xdotool", arguments, m_environment.Root(), true);
        EXPECT_TRUE(SpinUntil([&] { return tool.Wait(0) != -1; }, 10));
    };
    xdotool({"mousemove", std::to_string(grabX), std::to_string(grabY), "sleep", "0.2", "mousedown", "1", "sleep", "0.2",
             "mousemove", std::to_string(grabX + 60), std::to_string(grabY + 40), "sleep", "0.2", "mousemove",
             std::to_string(grabX + 120), std::to_string(grabY + 80), "sleep", "0.3", "mouseup", "1"});
    EXPECT_TRUE(SpinUntil([&] {
        GdkRectangle frame;
        gdk_window_get_frame_extents(gtk_widget_get_window(dialog.window), &frame);
        return frame.x >= x + 100 && frame.y >= y + 60;
    }, 5));

    gtk_window_get_position(GTK_WINDOW(dialog.window), &x, &y);
    xdotool({"mousemove", std::to_string(x + 100), std::to_string(y + 15), "sleep", "0.2", "click", "3"});
    const auto menuShown = [] {
        bool shown = false;
        GList* toplevels = gtk_window_list_toplevels();
        for (GList* item = toplevels; item != nullptr; item = item->next) {
            GtkWidget* window = GTK_WIDGET(item->data);
            if (gtk_window_get_window_type(GTK_WINDOW(window)) == GTK_WINDOW_POPUP && gtk_widget_get_visible(window) &&
                GTK_IS_MENU(gtk_bin_get_child(GTK_BIN(window)))) {
                shown = true;
            }
        }
        g_list_free(toplevels);
        return shown;
    };
    EXPECT_TRUE(SpinUntil(menuShown, 5));
    EXPECT_TRUE(platform::DestroyWindow(handle));
}

}  // namespace
