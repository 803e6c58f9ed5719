#pragma once
// What a skinned window knows of its markup: the window attributes, the fonts, the control
// tree and the name map.
#include "UIControl.h"
#include "UIGeometry.h"

#include "Messages.h"

#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace uikit {

struct FontSpec {
    std::string name;
    int size = 12;
    bool bold = false;
    bool underline = false;
    bool italic = false;
};

struct WindowAttributes {
    UISize size;
    UIRect sizebox;
    UIRect caption;
    UISize mininfo;
    UISize maxinfo;
    bool showShadow = false;
    std::string shadowImage;
    UIRect shadowCorner;
};

// A notification from a control to its window, such as "click" with the button as sender.
struct TNotifyUI {
    std::string sType;
    CControlUI* pSender = nullptr;
};

class INotifyUI {
public:
    virtual ~INotifyUI() = default;
    virtual void Notify(TNotifyUI& msg) = 0;
};

class CPaintManagerUI {
public:
    CPaintManagerUI() = default;
    CPaintManagerUI(const CPaintManagerUI&) = delete;
    CPaintManagerUI& operator=(const CPaintManagerUI&) = delete;

    // The platform window the tree is drawn in; 0 before the window has one.
    void SetPaintWindow(platform::HWND hwnd) { m_hWndPaint = hwnd; }
    platform::HWND GetPaintWindow() const { return m_hWndPaint; }

    WindowAttributes& Window() { return m_window; }
    const WindowAttributes& Window() const { return m_window; }
    // Applies one attribute of the Window element.
    void SetWindowAttribute(std::string_view name, std::string_view value);

    void AddFont(FontSpec font, bool isDefault);
    // The font at index, or the default font when index is out of range.
    const FontSpec& GetFont(int index) const;
    int GetFontCount() const { return static_cast<int>(m_fonts.size()); }

    // Takes the tree, fills the name map and places the tree in a window of the layout's size.
    void AttachDialog(std::unique_ptr<CControlUI> root);
    CControlUI* GetRoot() const { return m_pRoot.get(); }
    // The control registered under the exact name; a later control with the same name won.
    CControlUI* FindControl(const std::string& name) const;
    template <typename Control>
    Control* FindControlAs(const std::string& name) const {
        return dynamic_cast<Control*>(FindControl(name));
    }

    // Places the tree in a client area of the given size.
    void Layout(UISize clientSize);
    // A change of what shows (a control shown or hidden, another page selected): the tree
    // is placed again before it is next painted or hit, and the whole window repainted.
    void NeedUpdate();
    bool IsUpdateNeeded() const { return m_bNeedUpdate; }
    // Places the tree again when a change asked for it.
    void EnsureLayout();
    UISize ClientSize() const { return m_clientSize; }
    // Asks for a repaint of part of the window (through the display, once there is one).
    void Invalidate(const UIRect& rect);
    void SetInvalidateHandler(std::function<void(const UIRect&)> handler) { m_invalidate = std::move(handler); }

    void AddNotifier(INotifyUI* notifier);
    void RemoveNotifier(INotifyUI* notifier);
    // Tells every registered notifier.
    void SendNotify(CControlUI* sender, const std::string& type);

    // A control built from a top-level element of the layout after the first: it lives as
    // long as the window, outside the tree.
    void KeepDetachedControl(std::unique_ptr<CControlUI> control);

private:
    platform::HWND m_hWndPaint = 0;
    WindowAttributes m_window;
    std::vector<FontSpec> m_fonts;
    int m_nDefaultFont = -1;
    FontSpec m_fallbackFont;
    std::unique_ptr<CControlUI> m_pRoot;
    std::unordered_map<std::string, CControlUI*> m_names;
    bool m_bNeedUpdate = true;
    UISize m_clientSize;
    std::vector<std::unique_ptr<CControlUI>> m_detached;
    std::function<void(const UIRect&)> m_invalidate;
    std::vector<INotifyUI*> m_notifiers;
};

}  // namespace uikit
