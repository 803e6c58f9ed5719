#include "WebBrowserEvent.h"

#include "CustomMessages.h"
#include "Logger.h"

#include "DefaultBrowser.h"
#include "Text.h"
#include "WindowMessaging.h"

void CWebBrowserEvent::OnNavigateError(const std::wstring&, std::int32_t status) {
    // Other failures leave the browser's error page, which completes and shows the window.
    if (status != platform::INET_E_RESOURCE_NOT_FOUND) return;
    m_bErrorSeen = true;
    platform::PostMessageW(m_hOwner, WM_LAUNCHER_NET_ERROR, 0, 0);
}

void CWebBrowserEvent::OnDocumentComplete(const std::wstring&) {
    if (!m_bErrorSeen) platform::PostMessageW(m_hOwner, WM_LAUNCHER_SHOW, 0, 0);
}

void CWebBrowserEvent::OnNewWindow(const std::wstring& url, bool& cancel) {
    cancel = true;
    std::string error;
    // Only web addresses are handed on; the page never opens a window of the launcher's.
    if (!platform::OpenInDefaultBrowser(url, &error)) LOG_WRITE(0, L"open in default browser false:" << platform::AnsiToWide(error));
}
