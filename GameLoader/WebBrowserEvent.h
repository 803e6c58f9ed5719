#pragma once
// The launcher's handler of its browser's events: a page that loaded shows the window, a
// server that cannot be found is reported once, and new windows go to the default browser.
#include "UIWebBrowser.h"

class CWebBrowserEvent : public uikit::CWebBrowserEventHandler {
public:
    explicit CWebBrowserEvent(platform::HWND ownerWindow) : m_hOwner(ownerWindow) {}

    void OnNavigateError(const std::wstring& url, std::int32_t status) override;
    void OnDocumentComplete(const std::wstring& url) override;
    void OnNewWindow(const std::wstring& url, bool& cancel) override;

    bool ErrorSeen() const { return m_bErrorSeen; }

private:
    platform::HWND m_hOwner;
    // Set by a server that could not be found, never cleared: no page shows the window after.
    bool m_bErrorSeen = false;
};
