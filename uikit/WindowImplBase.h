#pragma once
// A skinned window: a platform window whose content is built from a layout of the skin
// package and shown through the display back end.
#include "UIManager.h"
#include "UIMarkup.h"
#include "display/DisplayBackend.h"

#include "WindowCore.h"

#include <memory>
#include <string>

namespace uikit {

class CButtonUI;

// Where a window's layout and images come from.
enum class UILIB_RESOURCETYPE {
    UILIB_FILE = 1,         // loose files in the skin folder
    UILIB_ZIP = 2,          // an archive file in the skin folder
    UILIB_RESOURCE = 3,     // the layout as a resource of type "xml"
    UILIB_ZIPRESOURCE = 4,  // an archive held in a resource of type "ZIPRES"
};

class WindowImplBase : public INotifyUI, public IDialogBuilderCallback, public IDisplayClient, public platform::MessageFilter {
public:
    WindowImplBase() = default;
    ~WindowImplBase() override;
    WindowImplBase(const WindowImplBase&) = delete;
    WindowImplBase& operator=(const WindowImplBase&) = delete;

    // Creates the window; its layout is built while it is created.
    platform::HWND Create(platform::HWND parent, const std::wstring& title, std::uint32_t style, std::uint32_t exStyle);
    platform::HWND GetHWND() const { return m_hWnd; }
    // Centres the window on the work area of its monitor.
    void CenterWindow();

    // What the framework asks while the window is created.
    virtual const wchar_t* GetWindowClassName() const = 0;
    virtual std::wstring GetSkinFolder() const = 0;
    virtual std::wstring GetSkinFile() const = 0;
    virtual UILIB_RESOURCETYPE GetResourceType() const { return UILIB_RESOURCETYPE::UILIB_ZIPRESOURCE; }
    virtual int GetResourceID() const { return 0; }
    virtual std::wstring GetZIPFileName() const { return {}; }

    // The answer to WM_NCHITTEST for a client point: caption band, resize bands, or client.
    platform::LRESULT HitTest(int x, int y) const;

    void Notify(TNotifyUI& msg) override;
    std::unique_ptr<CControlUI> CreateControl(std::string_view className) override { return nullptr; }
    bool PreTranslateMessage(const platform::QueuedMSG& message) override { return false; }

    void PaintClient(cairo_t* cr) override;
    UIRect ShadowCorners() const override;
    void PaintShadow(cairo_t* cr, const UIRect& shadowRect) override;
    UISize MinTrackSize() const override { return m_PaintManager.Window().mininfo; }
    UISize MaxTrackSize() const override { return m_PaintManager.Window().maxinfo; }

    CPaintManagerUI m_PaintManager;

protected:
    // Once, after the layout has been built; not run when the skin package is missing.
    virtual void InitWindow() {}
    // Sees every message first; the default is the framework's handling.
    virtual platform::LRESULT HandleMessage(platform::UINT message, platform::WPARAM wParam, platform::LPARAM lParam);
    // Messages the framework does not handle itself.
    virtual platform::LRESULT HandleCustomMessage(platform::UINT message, platform::WPARAM wParam, platform::LPARAM lParam,
                                                  bool& bHandled);
    virtual platform::LRESULT OnSysCommand(platform::UINT message, platform::WPARAM wParam, platform::LPARAM lParam,
                                           bool& bHandled);
    virtual void OnClick(TNotifyUI& msg) {}
    // After the window has been destroyed.
    virtual void OnFinalMessage(platform::HWND hwnd) {}

private:
    static platform::LRESULT WindowProc(platform::HWND hwnd, platform::UINT message, platform::WPARAM wParam,
                                        platform::LPARAM lParam);
    void OnCreate();
    void OnMouse(platform::UINT message, int x, int y);
    void SyncDisplayRect();
    void SyncShadow();

    platform::HWND m_hWnd = 0;
    platform::HWND m_hShadow = 0;
    std::unique_ptr<IDisplayWindow> m_pDisplay;
    CButtonUI* m_pHot = nullptr;
    CButtonUI* m_pPushed = nullptr;
};

// Registers the class of the drop-shadow windows, "BrisaShadowWnd", once per process; later
// calls do nothing.
void RegisterShadowWindowClass();
inline constexpr wchar_t kShadowWindowClass[] = L"BrisaShadowWnd";

// The text of the message box shown when a layout cannot be built, before the process ends
// with exit code 1.
inline constexpr char kLayoutLoadFailedText[] = "加载资源失败！";

}  // namespace uikit
