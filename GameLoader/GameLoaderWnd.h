#pragma once
// The launcher's main window, built from "GameLoader.xml": the game's page in its browser, and
// the download page. It holds the launch parameter record, filled from the JSON command text
// while the window is created, and dispatches its messages to the capability each belongs to.
#include "LaunchParameters.h"
#include "WindowImplBase.h"

#include <memory>
#include <string>

namespace uikit {
class CControlUI;
class CLabelUI;
class CProgressUI;
class CTabLayoutUI;
}  // namespace uikit
class CIeBrowserUI;
class CWebBrowserEvent;

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
    std::unique_ptr<uikit::CControlUI> CreateControl(std::string_view className) override;

    // Reads m_strCmdJson into the record; true when the text was parsed. Records the
    // platform window in the settings file when the command names one.
    bool ParseCmdJson();
    // Restores the window when it is minimised and raises it; a hidden window stays hidden.
    void TopMainWnd();
    // The close procedure: the platform notice when the platform started the launcher, then
    // the window closes.
    void OnBtnCloseClick();
    // Loads the start page into the browser, which stays hidden until the page has loaded.
    void LoadWeb();

    // Game start (GameStart.cpp).
    void BuildGameExePath();
    void LoadGame();
    // Takes over the heap string of an open-game request.
    void OnOpenGame(std::string* request);
    // Supervision of the game clients (GameClientSupervision.cpp).
    void OnKillGame(platform::WPARAM flag);
    // Install registration (InstallRegistration.cpp).
    void RegisterInstall();
    void CreateDesktopShortcut();
    void WriteUninstallKey();

    std::wstring m_strCmdJson;
    LaunchParameters m_params;

protected:
    void InitWindow() override;
    platform::LRESULT HandleMessage(platform::UINT message, platform::WPARAM wParam, platform::LPARAM lParam) override;
    platform::LRESULT HandleCustomMessage(platform::UINT message, platform::WPARAM wParam, platform::LPARAM lParam,
                                          bool& bHandled) override;
    platform::LRESULT OnSysCommand(platform::UINT message, platform::WPARAM wParam, platform::LPARAM lParam,
                                   bool& bHandled) override;
    void OnClick(uikit::TNotifyUI& msg) override;
    void OnFinalMessage(platform::HWND hwnd) override;

private:
    // The launcher's place in the install directory.
    std::wstring LauncherInInstallDirectory() const;
    void OnProgress(platform::WPARAM percent);
    void OnUnpacked(platform::WPARAM result);
    void ShowTrayMenu();

    std::unique_ptr<CWebBrowserEvent> m_pBrowserEvent;
    // References into the control tree; null when the layout lacks them.
    CIeBrowserUI* m_pBrowser = nullptr;
    uikit::CTabLayoutUI* m_pWizardTab = nullptr;
    uikit::CProgressUI* m_pProgress = nullptr;
    uikit::CLabelUI* m_pProgressTip = nullptr;
    uikit::CControlUI* m_pDownloadPage = nullptr;
    std::wstring m_strGameCode;
    std::wstring m_strGameExePath;
    std::wstring m_strFileParam;
    std::wstring m_strInstallDir;
};
