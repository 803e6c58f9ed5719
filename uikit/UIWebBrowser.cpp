#include "UIWebBrowser.h"

#include "UIManager.h"

#include "Text.h"

namespace uikit {
namespace {

BrowserFactory& Factory() {
    static BrowserFactory factory;
    return factory;
}

}  // namespace

void SetBrowserFactory(BrowserFactory factory) { Factory() = std::move(factory); }

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
    SyncBrowser();
}

void CActiveXUI::SetVisible(bool visible) {
    CControlUI::SetVisible(visible);
    SyncBrowser();
}

void CActiveXUI::CreateEngine() {
    m_pBrowser.reset();
    const platform::HWND window = m_pManager != nullptr ? m_pManager->GetPaintWindow() : 0;
    if (Factory()) m_pBrowser = Factory()(window, *this);
    m_bCreated = true;
    SyncBrowser();
    OnEngineCreated();
}

bool CActiveXUI::IsShownInTree() const {
    for (const CControlUI* control = this; control != nullptr; control = control->GetParent()) {
        if (!control->IsVisible()) return false;
    }
    return true;
}

void CActiveXUI::SyncBrowser() {
    if (m_pBrowser == nullptr) return;
    m_pBrowser->SetRect(m_rcItem.left, m_rcItem.top, std::max(0, m_rcItem.Width()), std::max(0, m_rcItem.Height()));
    m_pBrowser->SetVisible(IsShownInTree());
}

void CActiveXUI::OnBeforeNavigate(const std::wstring& url, bool& cancel) {
    if (m_pEventHandler != nullptr) m_pEventHandler->OnBeforeNavigate(url, cancel);
}

void CActiveXUI::OnNavigateComplete(const std::wstring& url) {
    if (m_pEventHandler != nullptr) m_pEventHandler->OnNavigateComplete(url);
}

void CActiveXUI::OnDocumentComplete(const std::wstring& url) {
    if (m_pEventHandler != nullptr) m_pEventHandler->OnDocumentComplete(url);
}

void CActiveXUI::OnNavigateError(const std::wstring& url, std::int32_t status) {
    if (m_pEventHandler != nullptr) m_pEventHandler->OnNavigateError(url, status);
}

void CActiveXUI::OnNewWindow(const std::wstring& url, bool& cancel) {
    if (m_pEventHandler != nullptr) m_pEventHandler->OnNewWindow(url, cancel);
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

void CWebBrowserUI::Navigate(const std::wstring& url) {
    if (m_pBrowser != nullptr) m_pBrowser->Navigate(url);
}

void CWebBrowserUI::OnEngineCreated() {
    if (m_bAutoNavi && !m_strHomePage.empty()) Navigate(platform::Utf8ToWide(m_strHomePage));
}

}  // namespace uikit
