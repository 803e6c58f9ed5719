#include "GameLoaderWnd.h"

#include "CustomMessages.h"
#include "DownloadBackground.h"
#include "GameCode.h"
#include "JsonText.h"
#include "LaunchParameterKeys.h"
#include "LogRedaction.h"
#include "Logger.h"
#include "PlatformSettings.h"

#include "Text.h"
#include "UIContainer.h"
#include "UILabel.h"


GameLoaderWnd::GameLoaderWnd(std::wstring cmdJson) : m_strCmdJson(std::move(cmdJson)) {}

GameLoaderWnd::~GameLoaderWnd() { platform::PostQuitMessage(0); }

void GameLoaderWnd::InitWindow() {
    m_pBrowser = m_PaintManager.FindControl("ie");
    m_pWizardTab = m_PaintManager.FindControlAs<uikit::CTabLayoutUI>("wizardTab");
    m_pProgress = m_PaintManager.FindControlAs<uikit::CProgressUI>("progress");
    m_pProgressTip = m_PaintManager.FindControlAs<uikit::CLabelUI>("progTip");
    m_pDownloadPage = m_PaintManager.FindControl("vLayoutDownload");
    const std::string_view background = DownloadBackgroundFor(kGameCode);
    if (m_pDownloadPage != nullptr && !background.empty()) m_pDownloadPage->SetBkImage(std::string(background));
    ParseCmdJson();
    if (m_pWizardTab != nullptr) m_pWizardTab->SelectItem(0);
}

platform::LRESULT GameLoaderWnd::HandleCustomMessage(platform::UINT message, platform::WPARAM wParam,
                                                     platform::LPARAM lParam, bool& bHandled) {
    bHandled = message == WM_LAUNCHER_ACTIVATE;
    if (bHandled) TopMainWnd();
    return 0;
}

void GameLoaderWnd::OnFinalMessage(platform::HWND hwnd) { delete this; }

void GameLoaderWnd::TopMainWnd() {
    LOG_WRITE(2, L"OnShowMainWnd enter");
    if (platform::IsIconic(GetHWND())) platform::ShowWindow(GetHWND(), platform::SW_RESTORE);
}

bool GameLoaderWnd::ParseCmdJson() {
    if (m_strCmdJson.empty()) {
        LOG_WRITE(2, L"m_strCmdJson is empty");
        return false;
    }
    LOG_WRITE(2, L"m_strCmdJson is:" << RedactTokens(m_strCmdJson));

    std::wstring* const members[] = {&m_strWinId,      &m_strSource,   &m_strTokenLogin,    &m_strToken,
                                     &m_strTwExt,      nullptr,        &m_strGameMgrId,     &m_strTypeMode,
                                     &m_strInstGamePath, &m_strCacheGamePath};
    try {
        Json::Value root;
        // The JSON library reads UTF-8, whatever the locale's character set.
        if (!ParseJsonText(platform::WideToUtf8(m_strCmdJson), root)) {
            LOG_WRITE(0, L"reader.parse:" << RedactTokens(m_strCmdJson) << L" false");
            return false;
        }
        for (std::size_t i = 0; i < std::size(kLaunchParameterKeys); ++i) {
            const char* key = kLaunchParameterKeys[i].key;
            if (!root.isMember(key) || !root[key].isString()) continue;
            const std::wstring value = platform::Utf8ToWide(root[key].asString());
            if (members[i] == nullptr) {
                m_nGameInstalled = platform::ParseLeadingInt32(value);
                continue;
            }
            *members[i] = value;
            if (members[i] == &m_strWinId) SetPlatformWindowId(m_strWinId, SettingsPath());
        }
    } catch (...) {
        // A root that is not an object cannot be asked for members; the record stays as it is.
    }
    return true;
}
