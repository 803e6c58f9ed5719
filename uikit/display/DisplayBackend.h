#pragma once
// Where skinned windows appear: a real desktop or an off-screen one. A window's pixels and
// input go through its display window; everything else stays with the platform window.
#include "Messages.h"
#include "UIGeometry.h"

#include <memory>
#include <string>
#include <vector>

typedef struct _cairo cairo_t;

namespace uikit {

// What a display window asks of the skinned window it shows.
class IDisplayClient {
public:
    virtual ~IDisplayClient() = default;
    // Paints the window's client area (origin at its top-left corner).
    virtual void PaintClient(cairo_t* cr) = 0;
    // How far the drop shadow reaches beyond each side of the window (all 0 without one).
    virtual UIRect ShadowCorners() const = 0;
    // Paints the drop shadow into shadowRect, the window's rectangle grown by the corners.
    virtual void PaintShadow(cairo_t* cr, const UIRect& shadowRect) = 0;
    // The smallest and largest outer sizes the desktop may give the window (0: no limit).
    virtual UISize MinTrackSize() const = 0;
    virtual UISize MaxTrackSize() const = 0;
};

class IDisplayWindow {
public:
    virtual ~IDisplayWindow() = default;
    virtual void SetVisible(bool visible) = 0;
    // Minimised to the desktop's taskbar, or back.
    virtual void SetMinimized(bool minimized) = 0;
    // The drop shadow shows only while the window is shown, neither minimised nor maximised.
    virtual void SetShadowVisible(bool visible) = 0;
    virtual void SetRect(const UIRect& rect) = 0;  // outer rectangle, screen coordinates
    virtual void Invalidate(const UIRect& rect) = 0;
    // Starts the desktop's interactive move or resize (a hit code of WM_NCHITTEST) at the
    // pointer, which follows until the button is released.
    virtual void BeginDrag(platform::LRESULT hitCode) = 0;
    // The title and the icon (an encoded image) the desktop shows for the window.
    virtual void SetTitle(const std::wstring& title) = 0;
    virtual void SetIcon(const void* image, std::size_t size) = 0;
    // A disabled window takes no input of its own: the desktop's close does nothing, and a
    // press anywhere on it (its embedded page included) is reported as WM_LBUTTONDOWN for
    // the framework to turn into the click on a disabled window.
    virtual void SetEnabled(bool enabled) = 0;
    // Raises the window to the top of the desktop's stacking order and activates it through
    // the window manager; a hidden window stays hidden.
    virtual void RaiseAndActivate() = 0;
};

struct MenuItem {
    int id;
    std::wstring text;
};

class IDisplayBackend {
public:
    virtual ~IDisplayBackend() = default;
    virtual std::unique_ptr<IDisplayWindow> CreateDisplayWindow(platform::HWND hwnd, IDisplayClient& client) = 0;
    // The work area of the monitor, for centring.
    virtual UIRect WorkArea() = 0;
    // The work area of the monitor that shows the point; one monitor's is WorkArea().
    virtual UIRect WorkAreaAt(int x, int y) { return WorkArea(); }
    // A modal message box without owner, with an error icon.
    virtual void ShowErrorBox(const std::string& text, const std::string& caption) = 0;
    // The system's modal message box with an OK button over the window; returns when it has
    // been closed (at once where no one can answer).
    virtual void ShowMessageBox(platform::HWND owner, const std::wstring& text, const std::wstring& caption) = 0;
    // A popup menu at a screen point; the chosen item's id, or 0 when none was chosen.
    virtual int TrackPopupMenu(const std::vector<MenuItem>& items, int x, int y) = 0;
    // The pointer's position on the screen.
    virtual UISize CursorPos() = 0;
};

// The process's display: set once before the first skinned window; headless by default.
IDisplayBackend& Display();
void SetDisplay(std::unique_ptr<IDisplayBackend> backend);

}  // namespace uikit
