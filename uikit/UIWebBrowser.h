#pragma once
// The host control of an embedded browser. The browser object itself comes from an engine
// that the browser back end provides; this control keeps the markup's rules of when it is
// created and whether it navigates to its home page.
#include "UIControl.h"

#include <functional>
#include <memory>

namespace uikit {

// The embedded browser object.
class IBrowserEngine {
public:
    virtual ~IBrowserEngine() = default;
    virtual void Navigate(const std::string& url) = 0;
};

// Makes the browser object for a control; set once by the browser back end. Without one, a
// created control simply has no engine.
using BrowserEngineFactory = std::function<std::unique_ptr<IBrowserEngine>(CControlUI& host, const std::string& clsid)>;
void SetBrowserEngineFactory(BrowserEngineFactory factory);

class CActiveXUI : public CControlUI {
public:
    static constexpr char kSystemBrowserClsid[] = "{8856F961-340A-11D0-A96B-00C04FD705A2}";

    std::string_view GetClass() const override { return "ActiveX"; }
    void SetAttribute(std::string_view name, std::string_view value) override;
    void SetPos(const UIRect& rect) override;

    bool IsCreated() const { return m_bCreated; }
    IBrowserEngine* GetEngine() const { return m_pEngine.get(); }
    const std::string& GetModuleName() const { return m_strModuleName; }

protected:
    // Creates the browser object now; called when creation is due.
    void CreateEngine();
    virtual void OnEngineCreated() {}

    std::string m_strClsid = kSystemBrowserClsid;
    std::string m_strModuleName;
    bool m_bDelayCreate = true;
    bool m_bCreated = false;
    std::unique_ptr<IBrowserEngine> m_pEngine;
};

class CWebBrowserUI : public CActiveXUI {
public:
    std::string_view GetClass() const override { return "WebBrowser"; }
    void SetAttribute(std::string_view name, std::string_view value) override;

    const std::string& GetHomePage() const { return m_strHomePage; }
    bool IsAutoNavigation() const { return m_bAutoNavi; }

protected:
    void OnEngineCreated() override;

private:
    std::string m_strHomePage;
    bool m_bAutoNavi = false;
};

}  // namespace uikit
