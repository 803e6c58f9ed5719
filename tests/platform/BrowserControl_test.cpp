// The embedded browser on a real X server, against pages served on 127.0.0.1 by the test.
#include "BrowserControl.h"

#include "GtkLoop.h"
#include "HttpTestServer.h"
#include "IsolatedEnvironment.h"

#include "NativeChildSurfaceGtk.h"
#include "Text.h"
#include "WindowCore.h"

#include <gtest/gtest.h>
#include <gtk/gtk.h>

namespace {

constexpr int kPort = 15080;
const std::wstring kPage = L"http://127.0.0.1:15080/page.html";

struct Recorder : platform::IBrowserEvents {
    void OnBeforeNavigate(const std::wstring& url, bool&) override { events.push_back("before " + platform::WideToUtf8(url)); }
    void OnNavigateComplete(const std::wstring& url) override { events.push_back("navigated " + platform::WideToUtf8(url)); }
    void OnDocumentComplete(const std::wstring& url) override { events.push_back("complete " + platform::WideToUtf8(url)); }
    void OnNavigateError(const std::wstring& url, std::int32_t status) override {
        char code[16];
        std::snprintf(code, sizeof(code), "%08x", static_cast<std::uint32_t>(status));
        events.push_back("error " + std::string(code) + " " + platform::WideToUtf8(url));
    }
    void OnNewWindow(const std::wstring& url, bool& cancel) override {
        cancel = true;
        events.push_back("new-window " + platform::WideToUtf8(url));
    }
    bool Has(const std::string& event) const { return std::find(events.begin(), events.end(), event) != events.end(); }
    std::vector<std::string> events;
};

platform::LRESULT PlainProc(platform::HWND hwnd, platform::UINT message, platform::WPARAM wParam, platform::LPARAM lParam) {
    return platform::DefWindowProcW(hwnd, message, wParam, lParam);
}

// A platform window shown in a GTK window whose container holds its children.
class HostWindow {
public:
    HostWindow() {
        static const bool registered = platform::RegisterClassW(L"BrowserTestHost", &PlainProc);
        (void)registered;
        m_hwnd = platform::CreateWindowExW(0, L"BrowserTestHost", L"", 0, 0, 0, 400, 300, 0, nullptr);
        m_window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
        gtk_window_set_default_size(GTK_WINDOW(m_window), 400, 300);
        GtkWidget* fixed = gtk_fixed_new();
        gtk_container_add(GTK_CONTAINER(m_window), fixed);
        m_surface.container = fixed;
        platform::SetWindowNativeSurface(m_hwnd, &m_surface);
        gtk_widget_show_all(m_window);
    }
    ~HostWindow() {
        platform::DestroyWindow(m_hwnd);
        gtk_widget_destroy(m_window);
    }
    platform::HWND Hwnd() const { return m_hwnd; }

private:
    platform::HWND m_hwnd = 0;
    GtkWidget* m_window = nullptr;
    platform::NativeChildSurface m_surface;
};

class Browser : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(gtk_init_check(nullptr, nullptr)) << "no X server: run under xvfb-run";
        m_host = std::make_unique<HostWindow>();
    }
    void TearDown() override { m_host.reset(); }
    std::unique_ptr<platform::BrowserControl> Make() {
        std::unique_ptr<platform::BrowserControl> browser = platform::BrowserControl::Create(m_host->Hwnd(), m_recorder);
        if (browser) {
            browser->SetRect(0, 0, 400, 300);
            browser->SetVisible(true);
            browser->SetSilent(true);
        }
        return browser;
    }
    IsolatedEnvironment m_environment;
    std::unique_ptr<HostWindow> m_host;
    Recorder m_recorder;
};

TEST_F(Browser, ALocalPageLoadsWithItsEventsInOrder) {
    HttpTestServer server(kPort, 200, "<html><body>页面<script>alert('silent')</script></body></html>");
    ASSERT_TRUE(server.IsListening());
    auto browser = Make();
    ASSERT_NE(browser, nullptr);
    browser->SetZoomPercent(156);
    EXPECT_EQ(browser->GetZoomPercent(), 156);
    browser->Navigate(kPage);
    ASSERT_TRUE(SpinUntil([&] { return m_recorder.Has("complete http://127.0.0.1:15080/page.html"); }));
    EXPECT_EQ(m_recorder.events, (std::vector<std::string>{"before http://127.0.0.1:15080/page.html",
                                                            "navigated http://127.0.0.1:15080/page.html",
                                                            "complete http://127.0.0.1:15080/page.html"}));
}

struct FailureRow {
    const char* name;
    std::wstring address;
    std::string status;
};

// Each failure is reported with its status, and then the page that shows, the server's
// or the browser's own error page, completes as a document.
TEST_F(Browser, FailedNavigationsReportTheirStatusAndShowAnErrorPage) {
    HttpTestServer failing(kPort, 500, "<html><body>服务器错误</body></html>");
    ASSERT_TRUE(failing.IsListening());
    const FailureRow rows[] = {
        {"refused", L"http://127.0.0.1:15081/", "800c0005"},
        {"no_such_host", L"http://no-such-host.invalid/", "800c0005"},
        {"missing_file", L"file:///nonexistent/page.html", "800c0006"},
        {"not_an_address", L"not an address", "800c0002"},
        {"http_500", kPage, "000001f4"},
    };
    auto browser = Make();
    ASSERT_NE(browser, nullptr);
    for (const FailureRow& row : rows) {
        m_recorder.events.clear();
        browser->Navigate(row.address);
        const std::string address = platform::WideToUtf8(row.address);
        const std::string error = "error " + row.status + " " + address;
        ASSERT_TRUE(SpinUntil([&] { return m_recorder.Has(error) && m_recorder.Has("complete " + address); }))
            << row.name << " " << ::testing::PrintToString(m_recorder.events);
        // The error comes first; the page that then shows completes once.
        const auto reported = std::find(m_recorder.events.begin(), m_recorder.events.end(), error);
        EXPECT_LT(reported - m_recorder.events.begin(),
                  std::find(m_recorder.events.begin(), m_recorder.events.end(), "complete " + address) - m_recorder.events.begin());
        EXPECT_EQ(std::count_if(m_recorder.events.begin(), m_recorder.events.end(),
                                [](const std::string& event) { return event.starts_with("complete"); }),
                  1)
            << row.name << " " << ::testing::PrintToString(m_recorder.events);
    }
}

TEST_F(Browser, NewWindowsAreReportedAndNeverOpened) {
    HttpTestServer server(kPort, 200,
                          "<html><body><a id='a' href='https://shop.example/blank' target='_blank'>x</a>"
                          "<script>window.open('https://pay.example/open');document.getElementById('a').click();</script>"
                          "</body></html>");
    ASSERT_TRUE(server.IsListening());
    auto browser = Make();
    ASSERT_NE(browser, nullptr);
    browser->Navigate(kPage);
    ASSERT_TRUE(SpinUntil([&] {
        return m_recorder.Has("new-window https://pay.example/open") && m_recorder.Has("new-window https://shop.example/blank");
    })) << ::testing::PrintToString(m_recorder.events);
    GList* toplevels = gtk_window_list_toplevels();
    EXPECT_EQ(g_list_length(toplevels), 1u);  // only the host window
    g_list_free(toplevels);
}

}  // namespace
