#pragma once
// The launcher's main window, built from "GameLoader.xml". It holds the launch parameter
// record, filled from the JSON command text while the window is created.
#include "WindowImplBase.h"

#include <cstdint>
#include <string>

namespace uikit {
class CControlUI;
class CLabelUI;
class CProgressUI;
class CTabLayoutUI;
class CVerticalLayoutUI;
}  // namespace uikit

class GameLoaderWnd : public uikit::WindowImplBase {
public:
    explicit GameLoaderWnd(std::wstring cmdJson);
    // Ends the launcher's message loop: the process ends with its main window.
    ~GameLoaderWnd() override;

    const wchar_t* GetWindowClassName() const override { return L"GameLoaderResClass"; }
    std::wstring GetSkinFolder() const override { return L""; }
    std::wstring GetSkinFile() const override { return L"GameLoader.xml"; }
    uikit::UILIB_RESOURCETYPE GetResourceType() const override { return uikit::UILIB_RESOURCETYPE::UILIB_ZIPRESOURCE; }
    int GetResourceID() const override { return 130; }

    // Reads m_strCmdJson into the record; true when the text was parsed. Records the
    // platform window in the settings file when the command names one.
    bool ParseCmdJson();
    // Restores the window when it is minimised and raises it; a hidden window stays hidden.
    void TopMainWnd();

    std::wstring m_strCmdJson;
    std::wstring m_strWinId;
    std::wstring m_strSource;
    std::wstring m_strTokenLogin;
    std::wstring m_strToken;
    std::wstring m_strTwExt;
    std::int32_t m_nGameInstalled = 0;
    std::wstring m_strGameMgrId;
    std::wstring m_strTypeMode;
    std::wstring m_strInstGamePath;
    std::wstring m_strCacheGamePath;

protected:
    void InitWindow() override;
    platform::LRESULT HandleCustomMessage(platform::UINT message, platform::WPARAM wParam, platform::LPARAM lParam,
                                          bool& bHandled) override;
    void OnFinalMessage(platform::HWND hwnd) override;

private:
    // References into the control tree; null when the layout lacks them.
    uikit::CControlUI* m_pBrowser = nullptr;
    uikit::CTabLayoutUI* m_pWizardTab = nullptr;
    uikit::CProgressUI* m_pProgress = nullptr;
    uikit::CLabelUI* m_pProgressTip = nullptr;
    uikit::CControlUI* m_pDownloadPage = nullptr;
};
