#include "UIWebBrowser.h"

namespace uikit {
namespace {

BrowserEngineFactory& Factory() {
    static BrowserEngineFactory factory;
    return factory;
}

}  // namespace

void SetBrowserEngineFactory(BrowserEngineFactory factory) { Factory() = std::move(factory); }

void CActiveXUI::SetAttribute(std::string_view name, std::string_view value) {
    if (name == "clsid") {
        m_strClsid = std::string(value);
        // A new class re-creates the object at once unless creation waits for placement.
        if (!m_strClsid.empty() && !m_bDelayCreate) CreateEngine();
    } else if (name == "modulename") {
        m_strModuleName = std::string(value);
    } else if (name == "delaycreate") {
        m_bDelayCreate = ParseBool(value);
        if (!m_bDelayCreate && !m_strClsid.empty() && !m_bCreated) CreateEngine();
    } else {
        CControlUI::SetAttribute(name, value);
    }
}

void CActiveXUI::SetPos(const UIRect& rect) {
    CControlUI::SetPos(rect);
    if (m_bDelayCreate && !m_bCreated && !m_strClsid.empty()) CreateEngine();
}

void CActiveXUI::CreateEngine() {
    m_pEngine.reset();
    if (Factory()) m_pEngine = Factory()(*this, m_strClsid);
    m_bCreated = true;
    OnEngineCreated();
}

void CWebBrowserUI::SetAttribute(std::string_view name, std::string_view value) {
    if (name == "homepage") {
        m_strHomePage = std::string(value);
    } else if (name == "autonavi") {
        m_bAutoNavi = ParseBool(value);
    } else {
        CActiveXUI::SetAttribute(name, value);
    }
}

void CWebBrowserUI::OnEngineCreated() {
    if (m_bAutoNavi && m_pEngine != nullptr && !m_strHomePage.empty()) m_pEngine->Navigate(m_strHomePage);
}

}  // namespace uikit
