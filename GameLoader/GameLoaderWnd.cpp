#include "GameLoaderWnd.h"

#include "CustomMessages.h"
#include "JsonText.h"
#include "LaunchParameterKeys.h"
#include "Logger.h"
#include "PlatformSettings.h"

#include "Text.h"


namespace {

constexpr wchar_t kClassName[] = L"GameLoaderWnd";

}  // namespace

GameLoaderWnd::GameLoaderWnd(std::wstring cmdJson) : m_strCmdJson(std::move(cmdJson)) {}

GameLoaderWnd::~GameLoaderWnd() { platform::PostQuitMessage(0); }

platform::HWND GameLoaderWnd::Create(platform::HWND parent, const std::wstring& title, std::uint32_t style,
                                     std::uint32_t exStyle) {
    static const bool registered = platform::RegisterClassW(kClassName, &GameLoaderWnd::WindowProc);
    (void)registered;
    return platform::CreateWindowExW(exStyle, kClassName, title, style, 0, 0, 0, 0, parent, this);
}

platform::LRESULT GameLoaderWnd::WindowProc(platform::HWND hwnd, platform::UINT message, platform::WPARAM wParam,
                                            platform::LPARAM lParam) {
    auto* self = static_cast<GameLoaderWnd*>(platform::GetWindowUserData(hwnd));
    if (message == platform::WM_CREATE) {
        self = static_cast<GameLoaderWnd*>(reinterpret_cast<const platform::CREATESTRUCTW*>(lParam)->lpCreateParams);
        platform::SetWindowUserData(hwnd, self);
        self->m_hWnd = hwnd;
        self->InitWindow();
        return 0;
    }
    if (self == nullptr) return platform::DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == platform::WM_NCDESTROY) {
        self->OnFinalMessage(hwnd);
        return 0;
    }
    return self->HandleMessage(message, wParam, lParam);
}

void GameLoaderWnd::InitWindow() { ParseCmdJson(); }

platform::LRESULT GameLoaderWnd::HandleMessage(platform::UINT message, platform::WPARAM wParam,
                                               platform::LPARAM lParam) {
    if (message == WM_LAUNCHER_ACTIVATE) {
        TopMainWnd();
        return 0;
    }
    return platform::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

void GameLoaderWnd::OnFinalMessage(platform::HWND hwnd) {
    platform::SetWindowUserData(hwnd, nullptr);
    delete this;
}

void GameLoaderWnd::TopMainWnd() {
    LOG_WRITE(2, L"OnShowMainWnd enter");
    if (platform::IsIconic(m_hWnd)) platform::ShowWindow(m_hWnd, platform::SW_RESTORE);
}

bool GameLoaderWnd::ParseCmdJson() {
    if (m_strCmdJson.empty()) {
        LOG_WRITE(2, L"m_strCmdJson is empty");
        return false;
    }
    LOG_WRITE(2, L"m_strCmdJson is:" << m_strCmdJson);

    std::wstring* const members[] = {&m_strWinId,      &m_strSource,   &m_strTokenLogin,    &m_strToken,
                                     &m_strTwExt,      nullptr,        &m_strGameMgrId,     &m_strTypeMode,
                                     &m_strInstGamePath, &m_strCacheGamePath};
    try {
        Json::Value root;
        if (!ParseJsonText(platform::WideToMultiByte(platform::CP_ACP, m_strCmdJson), root)) {
            LOG_WRITE(0, L"reader.parse:" << m_strCmdJson << L" false");
            return false;
        }
        for (std::size_t i = 0; i < std::size(kLaunchParameterKeys); ++i) {
            const char* key = kLaunchParameterKeys[i].key;
            if (!root.isMember(key) || !root[key].isString()) continue;
            const std::wstring value = platform::AnsiToWide(root[key].asString());
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
