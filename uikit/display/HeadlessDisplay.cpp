#include "HeadlessDisplay.h"

#include "Text.h"
#include "WindowCore.h"
#include "WindowMessaging.h"

#include <cairo.h>
#include <cstdio>

namespace uikit {

class CHeadlessDisplay::Window final : public IDisplayWindow {
public:
    Window(CHeadlessDisplay& display, platform::HWND hwnd) : m_display(display), m_hwnd(hwnd) {}
    ~Window() override { m_display.m_windows.erase(m_hwnd); }
    void SetVisible(bool visible) override { m_display.m_windows[m_hwnd].visible = visible; }
    void SetMinimized(bool minimized) override { m_display.m_windows[m_hwnd].minimized = minimized; }
    void SetShadowVisible(bool visible) override { m_display.m_windows[m_hwnd].shadowVisible = visible; }
    void SetRect(const UIRect& rect) override { m_display.m_windows[m_hwnd].rect = rect; }
    void Invalidate(const UIRect&) override {}  // snapshots are always painted afresh
    void BeginDrag(platform::LRESULT) override {}  // no pointer to follow off screen
    void SetTitle(const std::wstring& title) override { m_display.m_windows[m_hwnd].title = title; }
    void SetIcon(const void*, std::size_t size) override { m_display.m_windows[m_hwnd].hasIcon = size > 0; }
    void RaiseAndActivate() override { ++m_display.m_windows[m_hwnd].raised; }
    void SetEnabled(bool) override {}  // input is injected: the framework applies the rule

private:
    CHeadlessDisplay& m_display;
    platform::HWND m_hwnd;
};

std::unique_ptr<IDisplayWindow> CHeadlessDisplay::CreateDisplayWindow(platform::HWND hwnd, IDisplayClient& client) {
    State state;
    state.client = &client;
    state.title = platform::GetWindowTextW(hwnd);
    m_windows[hwnd] = state;
    return std::make_unique<Window>(*this, hwnd);
}

void CHeadlessDisplay::ShowErrorBox(const std::string& text, const std::string& caption) {
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
}

void CHeadlessDisplay::ShowMessageBox(platform::HWND, const std::wstring& text, const std::wstring& caption) {
    std::fprintf(stderr, "%s: %s\n", platform::WideToUtf8(caption).c_str(), platform::WideToUtf8(text).c_str());
}

std::wstring CHeadlessDisplay::Title(platform::HWND hwnd) const {
    const auto it = m_windows.find(hwnd);
    return it == m_windows.end() ? std::wstring() : it->second.title;
}

bool CHeadlessDisplay::HasIcon(platform::HWND hwnd) const {
    const auto it = m_windows.find(hwnd);
    return it != m_windows.end() && it->second.hasIcon;
}

int CHeadlessDisplay::RaiseCount(platform::HWND hwnd) const {
    const auto it = m_windows.find(hwnd);
    return it == m_windows.end() ? 0 : it->second.raised;
}

cairo_surface_t* CHeadlessDisplay::Snapshot(platform::HWND hwnd) {
    const auto it = m_windows.find(hwnd);
    if (it == m_windows.end()) return nullptr;
    IDisplayClient& client = *it->second.client;
    const UIRect& rect = it->second.rect;
    const UIRect corners = client.ShadowCorners();
    const int width = rect.Width() + corners.left + corners.right;
    const int height = rect.Height() + corners.top + corners.bottom;
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_t* cr = cairo_create(surface);
    client.PaintShadow(cr, UIRect{0, 0, width, height});
    cairo_translate(cr, corners.left, corners.top);
    cairo_rectangle(cr, 0, 0, rect.Width(), rect.Height());
    cairo_clip(cr);
    client.PaintClient(cr);
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    return surface;
}

bool CHeadlessDisplay::WritePng(platform::HWND hwnd, const std::string& path) {
    cairo_surface_t* surface = Snapshot(hwnd);
    if (surface == nullptr) return false;
    const bool ok = cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    return ok;
}

bool CHeadlessDisplay::IsVisible(platform::HWND hwnd) const {
    const auto it = m_windows.find(hwnd);
    return it != m_windows.end() && it->second.visible && !it->second.minimized;
}

bool CHeadlessDisplay::IsShadowVisible(platform::HWND hwnd) const {
    const auto it = m_windows.find(hwnd);
    return it != m_windows.end() && it->second.shadowVisible;
}

void CHeadlessDisplay::InjectMouseMove(platform::HWND hwnd, int x, int y) {
    platform::SendMessageW(hwnd, platform::WM_MOUSEMOVE, 0, platform::MAKELPARAM(x, y));
}

void CHeadlessDisplay::InjectClick(platform::HWND hwnd, int x, int y) {
    InjectMouseMove(hwnd, x, y);
    platform::SendMessageW(hwnd, platform::WM_LBUTTONDOWN, 1, platform::MAKELPARAM(x, y));
    platform::SendMessageW(hwnd, platform::WM_LBUTTONUP, 0, platform::MAKELPARAM(x, y));
}

}  // namespace uikit
