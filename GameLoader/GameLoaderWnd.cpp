#include "GameLoaderWnd.h"

#include "CustomMessages.h"
#include "CustomMsgBox.h"
#include "DownloadBackground.h"
#include "GameCode.h"
#include "IeBrowserUI.h"
#include "InstallRegistration.h"
#include "JsonText.h"
#include "LogRedaction.h"
#include "Logger.h"
#include "PlatformNotice.h"
#include "PlatformSettings.h"
#include "StartAddress.h"
#include "WebBrowserEvent.h"

#include "BrowserControl.h"
#include "Resources.h"
#include "Text.h"
#include "UIContainer.h"
#include "UILabel.h"
#include "display/DisplayBackend.h"

namespace {

constexpr int kWindowIcon = 107;
constexpr int kTrayExitItem = 16;
// SC_MOVE with HTCAPTION in its low bits: the desktop's move at the pointer.
constexpr platform::WPARAM kMoveByCaption = 0xF012;

bool IsIeBrowser(std::string_view className) {
    constexpr std::string_view kName = "iebrowser";
    if (className.size() != kName.size()) return false;
    for (std::size_t i = 0; i < kName.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(className[i])) != kName[i]) return false;
    }
    return true;
}

}  // namespace

GameLoaderWnd::GameLoaderWnd(std::wstring cmdJson) : m_strCmdJson(std::move(cmdJson)) {}

GameLoaderWnd::~GameLoaderWnd() { platform::PostQuitMessage(0); }

std::unique_ptr<uikit::CControlUI> GameLoaderWnd::CreateControl(std::string_view className) {
    if (!IsIeBrowser(className)) return nullptr;
    return std::make_unique<CIeBrowserUI>(GetHWND(), GameSiteOrigin());
}

void GameLoaderWnd::InitWindow() {
    const platform::HICON icon = platform::LoadIconW(kWindowIcon);
    platform::SendMessageW(GetHWND(), platform::WM_SETICON, platform::ICON_SMALL, icon);
    platform::SendMessageW(GetHWND(), platform::WM_SETICON, platform::ICON_BIG, icon);
    m_pBrowserEvent = std::make_unique<CWebBrowserEvent>(GetHWND());
    m_pBrowser = m_PaintManager.FindControlAs<CIeBrowserUI>("ie");
    m_pWizardTab = m_PaintManager.FindControlAs<uikit::CTabLayoutUI>("wizardTab");
    m_pProgress = m_PaintManager.FindControlAs<uikit::CProgressUI>("progress");
    m_pProgressTip = m_PaintManager.FindControlAs<uikit::CLabelUI>("progTip");
    m_pDownloadPage = m_PaintManager.FindControl("vLayoutDownload");
    const std::string_view background = DownloadBackgroundFor(kGameCode);
    if (m_pDownloadPage != nullptr && !background.empty()) m_pDownloadPage->SetBkImage(std::string(background));
    m_strGameCode = platform::AnsiToWide(kGameCode);
    BuildGameExePath();
    ParseCmdJson();
    m_strInstallDir = InstallDirectory(m_params.m_strInstGamePath, m_strGameCode);
    if (m_params.m_strTypeMode == L"1" && !m_params.m_strGameMgrId.empty()) {
        platform::PostMessageW(platform::HandleFromText(m_params.m_strGameMgrId), WM_GAMEMGR_LAUNCHER_STARTED, 0, 0);
    }
    SetLoginSource(m_params.m_strSource, SettingsPath());
    LOG_WRITE(2, L"m_nGameInstalled is " << m_params.m_nGameInstalled);
    if (m_params.m_nGameInstalled == 1) platform::SuppressPersistentCookies();
    m_strFileParam = GetBagFileParam(m_strGameCode);
    LOG_WRITE(2, L"GetBagFileParam fileparam=" << m_strFileParam);
    if (m_pWizardTab != nullptr) m_pWizardTab->SelectItem(0);
    if (m_params.m_strTokenLogin == L"1") {
        LoadGame();
    } else {
        LoadWeb();
    }
}

void GameLoaderWnd::LoadWeb() {
    LOG_WRITE(2, L"GameLoaderWnd LoadWeb");
    if (m_pBrowser == nullptr) return;
    m_pBrowser->SetWebBrowserEventHandler(m_pBrowserEvent.get());
    if (platform::BrowserControl* browser = m_pBrowser->GetBrowser()) browser->SetSilent(true);
    const std::wstring address = BuildStartAddress(GameSiteBaseAddress(), m_strFileParam, m_params);
    LOG_WRITE(2, L"fileparam=" << m_strFileParam);
    m_pBrowser->Navigate(address);
    m_pBrowser->SetVisible(false);
}

platform::LRESULT GameLoaderWnd::HandleMessage(platform::UINT message, platform::WPARAM wParam, platform::LPARAM lParam) {
    // A double click on the caption neither maximises nor restores the window.
    if (message == platform::WM_NCLBUTTONDBLCLK) return 0;
    if (message == WM_LAUNCHER_TRAY && lParam == platform::WM_RBUTTONDOWN) ShowTrayMenu();
    return WindowImplBase::HandleMessage(message, wParam, lParam);
}

platform::LRESULT GameLoaderWnd::HandleCustomMessage(platform::UINT message, platform::WPARAM wParam,
                                                     platform::LPARAM lParam, bool& bHandled) {
    bHandled = true;
    switch (message) {
    case WM_LAUNCHER_SHOW:
        if (m_pBrowser != nullptr) m_pBrowser->SetVisible(true);
        if (m_params.m_strToken != L"1") {
            if (platform::IsWindow(GetHWND())) platform::ShowWindow(GetHWND(), platform::SW_SHOWNORMAL);
            TopMainWnd();
        }
        return 0;
    case WM_LAUNCHER_MINIMIZE: platform::ShowWindow(GetHWND(), platform::SW_MINIMIZE); return 0;
    case WM_LAUNCHER_CLOSE: OnBtnCloseClick(); return 0;
    case WM_LAUNCHER_OPEN_GAME:
        // Its parameter is an address that only the page's bridge in this process may send.
        if (platform::InMessageFromOtherProcess()) {
            LOG_WRITE(0, L"WM_LAUNCHER_OPEN_GAME from another process refused");
            return 0;
        }
        OnOpenGame(reinterpret_cast<std::string*>(wParam));
        return 0;
    case WM_LAUNCHER_DRAG: platform::SendMessageW(GetHWND(), platform::WM_SYSCOMMAND, kMoveByCaption, 0); return 0;
    case WM_LAUNCHER_ACTIVATE: TopMainWnd(); return 0;
    case WM_LAUNCHER_UNPACKED: OnUnpacked(wParam); return 0;
    case WM_LAUNCHER_KILL_GAME: OnKillGame(wParam); return 0;
    case WM_LAUNCHER_PROGRESS: OnProgress(wParam); return 0;
    case WM_LAUNCHER_NET_ERROR:
        uikit::Display().ShowMessageBox(GetHWND(), L"网络连接异常", L"提示");
        OnBtnCloseClick();
        return 0;
    default: bHandled = false; return 0;
    }
}

void GameLoaderWnd::OnProgress(platform::WPARAM percent) {
    if (m_pProgress == nullptr) return;
    const int old = m_pProgress->GetValue();
    if (percent != static_cast<platform::WPARAM>(old) && percent >= static_cast<platform::WPARAM>(m_pProgress->GetMinValue()) &&
        percent <= static_cast<platform::WPARAM>(m_pProgress->GetMaxValue())) {
        m_pProgress->SetValue(static_cast<int>(percent));
    }
    if (old == 100 && m_pProgressTip != nullptr) m_pProgressTip->SetText("正在释放文件");
}

void GameLoaderWnd::OnUnpacked(platform::WPARAM result) {
    if (result == 0) {
        RegisterInstall();
        BuildGameExePath();
        if (m_pProgressTip != nullptr) m_pProgressTip->SetText("正在启动游戏");
        LoadGame();
        return;
    }
    // Either button of the box closes the window too; this path sends no platform notice.
    ShowMsgBox(GetHWND(), L"释放文件出错");
    if (platform::IsWindow(GetHWND())) platform::PostMessageW(GetHWND(), platform::WM_CLOSE, 1, 0);
}

void GameLoaderWnd::OnClick(uikit::TNotifyUI& msg) {
    const std::string& name = msg.pSender->GetName();
    if (name == "btnClose") {
        OnBtnCloseClick();
    } else if (name == "btnMin") {
        platform::ShowWindow(GetHWND(), platform::SW_MINIMIZE);
    }
}

platform::LRESULT GameLoaderWnd::OnSysCommand(platform::UINT message, platform::WPARAM wParam, platform::LPARAM lParam,
                                              bool& bHandled) {
    // The desktop's close button, Alt+F4 and the taskbar's close all arrive here.
    if (wParam == platform::SC_CLOSE) {
        LOG_WRITE(2, L"点击任务栏关闭窗口");
        bHandled = true;
        OnBtnCloseClick();
        return 0;
    }
    return WindowImplBase::OnSysCommand(message, wParam, lParam, bHandled);
}

void GameLoaderWnd::OnBtnCloseClick() {
    if (m_params.m_strSource == L"TW" && !m_params.m_strWinId.empty()) {
        LOG_WRITE(2, L"GameLoaderWnd close wnd");
        NotifyPlatformWindow(m_params.m_strWinId);
    }
    if (platform::IsWindow(GetHWND())) platform::PostMessageW(GetHWND(), platform::WM_CLOSE, 1, 0);
}

void GameLoaderWnd::OnFinalMessage(platform::HWND hwnd) { delete this; }

void GameLoaderWnd::ShowTrayMenu() {
    const uikit::UISize cursor = uikit::Display().CursorPos();
    platform::SetForegroundWindow(GetHWND());
    const int chosen = uikit::Display().TrackPopupMenu({{kTrayExitItem, L"退出"}}, cursor.cx, cursor.cy);
    if (chosen == kTrayExitItem) OnBtnCloseClick();
}

void GameLoaderWnd::TopMainWnd() {
    LOG_WRITE(2, L"OnShowMainWnd enter");
    if (platform::IsIconic(GetHWND())) platform::ShowWindow(GetHWND(), platform::SW_RESTORE);
    // The window manager raises and activates the window from whatever has the focus now;
    // there is no input of other threads to attach to.
    platform::SetWindowPos(GetHWND(), platform::HWND_TOP, 0, 0, 0, 0, platform::SWP_NOSIZE | platform::SWP_NOMOVE);
    platform::SetWindowPos(GetHWND(), platform::HWND_NOTOPMOST, 0, 0, 0, 0, platform::SWP_NOSIZE | platform::SWP_NOMOVE);
}

bool GameLoaderWnd::ParseCmdJson() {
    if (m_strCmdJson.empty()) {
        LOG_WRITE(2, L"m_strCmdJson is empty");
        return false;
    }
    LOG_WRITE(2, L"m_strCmdJson is:" << RedactTokens(m_strCmdJson));
    try {
        Json::Value root;
        // The JSON library reads UTF-8, whatever the locale's character set.
        if (!ParseJsonText(platform::WideToUtf8(m_strCmdJson), root)) {
            LOG_WRITE(0, L"reader.parse:" << RedactTokens(m_strCmdJson) << L" false");
            return false;
        }
        for (const LaunchParameterKey& key : kLaunchParameterKeys) {
            if (!root.isMember(key.key) || !root[key.key].isString()) continue;
            const std::wstring value = platform::Utf8ToWide(root[key.key].asString());
            if (key.member == nullptr) {
                m_params.m_nGameInstalled = platform::ParseLeadingInt32(value);
                continue;
            }
            m_params.*key.member = value;
            if (key.member == &LaunchParameters::m_strWinId) SetPlatformWindowId(m_params.m_strWinId, SettingsPath());
        }
    } catch (...) {
        // A root that is not an object cannot be asked for members; the record stays as it is.
    }
    return true;
}
