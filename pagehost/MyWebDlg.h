#pragma once
// The browser dialog: a window of the window core with a title bar, a close box and an
// empty title, holding one browser at its client origin, sized and zoomed for the screen.
#include "BrowserControl.h"
#include "Messages.h"

#include <functional>
#include <memory>
#include <string>

class DialogFrame;

class MyWebDlg : public platform::IBrowserEvents {
public:
    // Creates and shows a dialog. Every dialog lives on the process's main thread, since the
    // toolkit is single-threaded; a call from another thread is carried out there and waits
    // for it (0 when the main thread serves no loop). Modeless: returns its handle at once
    // (0 when there is no desktop to show it on); the window then owns the dialog, which goes
    // when the window is destroyed. Modal: the host's window takes no input until the
    // dialog has been ended; then it is destroyed and the result is 0.
    static platform::HWND Open(int width, int height, std::wstring address, bool modal);

    ~MyWebDlg() override;
    platform::HWND GetHWND() const { return m_hWnd; }
    // Ends the dialog (close box, Escape, Enter): hidden, and a modal one gives its host's
    // window back its input.
    void EndDialog();

    void OnBeforeNavigate(const std::wstring& url, bool& cancel) override;
    void OnDocumentComplete(const std::wstring& url) override;
    void OnNewWindow(const std::wstring& url, bool& cancel) override;

private:
    MyWebDlg(int width, int height, std::wstring address, bool modal, std::function<void()> onEnded);
    // On the main thread: makes and shows the dialog; onEnded runs once when it ends or goes.
    static platform::HWND Show(int width, int height, std::wstring address, bool modal, std::function<void()> onEnded);
    static platform::HWND OpenFromOtherThread(int width, int height, std::wstring address, bool modal);
    static platform::LRESULT WindowProc(platform::HWND hwnd, platform::UINT message, platform::WPARAM wParam,
                                        platform::LPARAM lParam);
    void OnInitDialog();
    void ApplyZoom();
    void NotifyEnded();

    int m_nWidth;
    int m_nHeight;
    std::wstring m_strAddress;
    bool m_bModal;
    std::function<void()> m_onEnded;
    int m_nScale = 100;
    bool m_bEnded = false;
    platform::HWND m_hWnd = 0;
    std::unique_ptr<DialogFrame> m_pFrame;
    std::unique_ptr<platform::BrowserControl> m_pBrowser;
};
