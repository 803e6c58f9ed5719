#pragma once
// The launcher's main window. It holds the launch parameter record, filled from the JSON
// command text while the window is created.
#include "WindowCore.h"

#include <cstdint>
#include <string>

class GameLoaderWnd {
public:
    explicit GameLoaderWnd(std::wstring cmdJson);
    // Ends the launcher's message loop: the process ends with its main window.
    virtual ~GameLoaderWnd();
    GameLoaderWnd(const GameLoaderWnd&) = delete;
    GameLoaderWnd& operator=(const GameLoaderWnd&) = delete;

    // Creates the window; the object then belongs to it and is deleted when it is destroyed.
    platform::HWND Create(platform::HWND parent, const std::wstring& title, std::uint32_t style,
                          std::uint32_t exStyle);
    platform::HWND GetHWND() const { return m_hWnd; }

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
    virtual void InitWindow();
    virtual platform::LRESULT HandleMessage(platform::UINT message, platform::WPARAM wParam, platform::LPARAM lParam);
    virtual void OnFinalMessage(platform::HWND hwnd);

private:
    static platform::LRESULT WindowProc(platform::HWND hwnd, platform::UINT message, platform::WPARAM wParam,
                                        platform::LPARAM lParam);

    platform::HWND m_hWnd = 0;
};
