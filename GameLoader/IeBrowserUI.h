#pragma once
// The launcher's browser control, made for the markup element "IeBrowser". Its page gets the
// script object window.external with the one member g_callCppFunc, answered only for the
// top-level document while it comes from the game site.
#include "UIWebBrowser.h"

#include <set>
#include <string>

class CIeBrowserUI : public uikit::CWebBrowserUI {
public:
    // mainWindow: where the page's calls post their messages.
    CIeBrowserUI(platform::HWND mainWindow, std::wstring trustedOrigin)
        : m_hMainWnd(mainWindow), m_strTrustedOrigin(std::move(trustedOrigin)) {}

protected:
    void OnEngineCreated() override;
    void OnScriptCall(const platform::ScriptCall& call) override;

private:
    platform::HWND m_hMainWnd;
    std::wstring m_strTrustedOrigin;
    std::set<std::wstring> m_loggedOrigins;
};
