#pragma once
// The host control of an embedded browser. The browser itself is the platform's browser
// control, made inside the control's window by a factory that the program showing web pages
// sets; this control keeps the markup's rules of when it is created and whether it
// navigates to its home page, places the browser where it is laid out, shows it only while
// it and every control above it are visible, and hands the browser's events to its handler.
#include "UIControl.h"

#include "BrowserControl.h"

#include <functional>
#include <memory>

namespace uikit {

using BrowserFactory =
    std::function<std::unique_ptr<platform::BrowserControl>(platform::HWND host, platform::IBrowserEvents& events)>;
// Set once by a program that shows web pages (the browser back end is not linked into every
// program that draws a layout). Without one a created control has no browser.
void SetBrowserFactory(BrowserFactory factory);

// Receives a browser's events; every slot does nothing unless a subclass fills it in.
class CWebBrowserEventHandler : public platform::IBrowserEvents {};

class CActiveXUI : public CControlUI, protected platform::IBrowserEvents {
public:
    static constexpr char kSystemBrowserClsid[] = "{8856F961-340A-11D0-A96B-00C04FD705A2}";

    std::string_view GetClass() const override { return "ActiveX"; }
    void SetAttribute(std::string_view name, std::string_view value) override;
    void SetPos(const UIRect& rect) override;
    void SetVisible(bool visible) override;

    bool IsCreated() const { return m_bCreated; }
    // The browser, once created in a window on a desktop; null otherwise.
    platform::BrowserControl* GetBrowser() const { return m_pBrowser.get(); }
    const std::string& GetModuleName() const { return m_strModuleName; }
    // The handler of the browser's events; not owned, null for none.
    void SetWebBrowserEventHandler(CWebBrowserEventHandler* handler) { m_pEventHandler = handler; }

protected:
    // Creates the browser object now; called when creation is due.
    void CreateEngine();
    virtual void OnEngineCreated() {}
    // True while the control and every control above it are visible.
    bool IsShownInTree() const;
    void SyncBrowser();

    // The browser's events go to the handler, when there is one.
    void OnBeforeNavigate(const std::wstring& url, bool& cancel) override;
    void OnNavigateComplete(const std::wstring& url) override;
    void OnDocumentComplete(const std::wstring& url) override;
    void OnNavigateError(const std::wstring& url, std::int32_t status) override;
    void OnNewWindow(const std::wstring& url, bool& cancel) override;

    std::string m_strClsid = kSystemBrowserClsid;
    std::string m_strModuleName;
    bool m_bDelayCreate = true;
    bool m_bCreated = false;
    std::unique_ptr<platform::BrowserControl> m_pBrowser;
    CWebBrowserEventHandler* m_pEventHandler = nullptr;
};

class CWebBrowserUI : public CActiveXUI {
public:
    std::string_view GetClass() const override { return "WebBrowser"; }
    void SetAttribute(std::string_view name, std::string_view value) override;

    const std::string& GetHomePage() const { return m_strHomePage; }
    bool IsAutoNavigation() const { return m_bAutoNavi; }
    void Navigate(const std::wstring& url);

protected:
    void OnEngineCreated() override;

private:
    std::string m_strHomePage;
    bool m_bAutoNavi = false;
};

}  // namespace uikit
