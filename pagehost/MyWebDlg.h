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
    // Creates and shows a dialog. Modeless: returns its handle at once (0 when there is no
    // desktop to show it on); the window then owns the dialog, which goes when the window is
    // destroyed. Modal: runs a nested loop until the dialog has been ended, destroys it and
    // returns 0.
    static platform::HWND Open(int width, int height, std::wstring address, bool modal);

    ~MyWebDlg() override;
    platform::HWND GetHWND() const { return m_hWnd; }
    // Ends the dialog (close box, Escape, Enter): hidden, and a modal loop returns.
    void EndDialog();

    void OnBeforeNavigate(const std::wstring& url, bool& cancel) override;
    void OnDocumentComplete(const std::wstring& url) override;
    void OnNewWindow(const std::wstring& url, bool& cancel) override;

private:
    MyWebDlg(int width, int height, std::wstring address);
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
