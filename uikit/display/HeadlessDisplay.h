#pragma once
// An off-screen desktop: each window is kept as an image, input is injected, and any window
// can be written to a PNG with its shadow around it.
#include "DisplayBackend.h"

#include <map>

typedef struct _cairo_surface cairo_surface_t;

namespace uikit {

class CHeadlessDisplay final : public IDisplayBackend {
public:
    static constexpr UIRect kWorkArea{0, 0, 1920, 1040};

    std::unique_ptr<IDisplayWindow> CreateDisplayWindow(platform::HWND hwnd, IDisplayClient& client) override;
    UIRect WorkArea() override { return kWorkArea; }
    void ShowErrorBox(const std::string& text, const std::string& caption) override;
    // No one answers off screen: the box's text goes to standard error and it closes at once.
    void ShowMessageBox(platform::HWND owner, const std::wstring& text, const std::wstring& caption) override;
    int TrackPopupMenu(const std::vector<MenuItem>& items, int x, int y) override { return 0; }
    UISize CursorPos() override { return {}; }

    // The window as it would appear now, shadow included; the caller destroys the surface.
    // Null when there is no such window.
    cairo_surface_t* Snapshot(platform::HWND hwnd);
    bool WritePng(platform::HWND hwnd, const std::string& path);
    // Shown on the desktop: visible and not minimised.
    bool IsVisible(platform::HWND hwnd) const;
    bool IsShadowVisible(platform::HWND hwnd) const;
    // Sends the mouse messages a pointer at client point (x, y) would cause.
    void InjectMouseMove(platform::HWND hwnd, int x, int y);
    void InjectClick(platform::HWND hwnd, int x, int y);

private:
    struct State {
        IDisplayClient* client = nullptr;
        UIRect rect;
        bool visible = false;
        bool minimized = false;
        bool shadowVisible = false;
        std::wstring title;
        bool hasIcon = false;
        int raised = 0;
    };

public:
    // What the desktop would show of the window, for tests.
    std::wstring Title(platform::HWND hwnd) const;
    bool HasIcon(platform::HWND hwnd) const;
    int RaiseCount(platform::HWND hwnd) const;

private:
    class Window;
    std::map<platform::HWND, State> m_windows;
};

}  // namespace uikit
