#pragma once
// The browser dialog: a window of the window core with a title bar, a close box and an
// empty title, holding one browser at its client origin, sized and zoomed for the screen.
#include "BrowserControl.h"
#include "Messages.h"

#include <memory>
#include <string>

class DialogFrame;

class MyWebDlg : public platform::IBrowserEvents {
public:
    MyWebDlg(int width, int height, std::wstring address);
    ~MyWebDlg() override;

    // Creates and shows the dialog; 0 when there is no desktop to show it on.
    platform::HWND Create();
    // Runs a nested message loop until the dialog has been ended.
    void RunModal();
    platform::HWND GetHWND() const { return m_hWnd; }
    // Ends the dialog (close box, Escape, Enter): hidden, and a modal loop returns.
    void EndDialog();

    void OnBeforeNavigate(const std::wstring& url, bool& cancel) override;
    void OnDocumentComplete(const std::wstring& url) override;
    void OnNewWindow(const std::wstring& url, bool& cancel) override;

private:
    static platform::LRESULT WindowProc(platform::HWND hwnd, platform::UINT message, platform::WPARAM wParam,
                                        platform::LPARAM lParam);
    void OnInitDialog();
    void ApplyZoom();

    int m_nWidth;
    int m_nHeight;
    std::wstring m_strAddress;
    std::wstring m_strTitle;
    int m_nScale = 100;
    bool m_bEnded = false;
    platform::HWND m_hWnd = 0;
    std::unique_ptr<DialogFrame> m_pFrame;
    std::unique_ptr<platform::BrowserControl> m_pBrowser;
};
