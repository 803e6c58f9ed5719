#include "MyWebDlg.h"

#include "DialogFrame.h"
#include "DpiScale.h"

#include "DefaultBrowser.h"
#include "WindowCore.h"

namespace {

constexpr wchar_t kDialogClass[] = L"MyWebDlg";

}  // namespace

MyWebDlg::MyWebDlg(int width, int height, std::wstring address)
    : m_nWidth(width), m_nHeight(height), m_strAddress(std::move(address)) {}

MyWebDlg::~MyWebDlg() = default;

platform::HWND MyWebDlg::Create() {
    static const bool registered = platform::RegisterClassW(kDialogClass, &MyWebDlg::WindowProc);
    (void)registered;
    m_hWnd = platform::CreateWindowExW(0, kDialogClass, L"", 0, 0, 0, 0, 0, 0, this);
    if (m_hWnd != 0 && m_pFrame == nullptr) {
        platform::DestroyWindow(m_hWnd);
        m_hWnd = 0;
    }
    return m_hWnd;
}

platform::LRESULT MyWebDlg::WindowProc(platform::HWND hwnd, platform::UINT message, platform::WPARAM wParam,
                                       platform::LPARAM lParam) {
    auto* self = static_cast<MyWebDlg*>(platform::GetWindowUserData(hwnd));
    if (message == platform::WM_CREATE) {
        self = static_cast<MyWebDlg*>(reinterpret_cast<const platform::CREATESTRUCTW*>(lParam)->lpCreateParams);
        platform::SetWindowUserData(hwnd, self);
        self->m_hWnd = hwnd;
        self->m_pFrame = DialogFrame::Create(hwnd);
        if (self->m_pFrame != nullptr) self->OnInitDialog();
        return 0;
    }
    if (self == nullptr) return platform::DefWindowProcW(hwnd, message, wParam, lParam);
    switch (message) {
    case platform::WM_CLOSE:
        self->EndDialog();
        return 0;
    case platform::WM_DESTROY:
        // The host destroys a modeless dialog by its handle; the browser goes with it.
        self->m_pBrowser.reset();
        self->m_pFrame.reset();
        self->m_bEnded = true;
        return 0;
    case platform::WM_NCDESTROY:
        platform::SetWindowUserData(hwnd, nullptr);
        self->m_hWnd = 0;
        return 0;
    default: return platform::DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

void MyWebDlg::OnInitDialog() {
    m_nScale = DpiScalePercent(m_pFrame->ScreenDpi());
    const DialogSizes sizes = ComputeDialogSizes(m_nWidth, m_nHeight, m_nScale, m_pFrame->CaptionHeight());
    m_pBrowser = platform::BrowserControl::Create(m_hWnd, *this);
    if (m_pBrowser != nullptr) {
        m_pBrowser->SetRect(0, 0, sizes.browserWidth, sizes.browserHeight);
        m_pBrowser->SetVisible(true);
        m_pBrowser->SetSilent(true);
        m_pBrowser->Navigate(m_strAddress);
    }
    m_pFrame->ShowCentred(sizes.outerWidth, sizes.outerHeight);
    platform::MoveWindow(m_hWnd, 0, 0, sizes.outerWidth, sizes.outerHeight);
    platform::ShowWindow(m_hWnd, platform::SW_SHOWNORMAL);
    m_pFrame->SetTitle(m_strTitle);
}

void MyWebDlg::ApplyZoom() {
    if (m_pBrowser != nullptr) m_pBrowser->SetZoomPercent(ZoomPercentForScale(m_nScale));
}

void MyWebDlg::OnBeforeNavigate(const std::wstring&, bool&) { ApplyZoom(); }

void MyWebDlg::OnDocumentComplete(const std::wstring&) { ApplyZoom(); }

void MyWebDlg::OnNewWindow(const std::wstring& url, bool& cancel) {
    // Only web addresses reach the default browser; the dialog never opens a window of its own.
    platform::OpenInDefaultBrowser(url);
    cancel = true;
}

void MyWebDlg::EndDialog() {
    if (m_bEnded) return;
    m_bEnded = true;
    if (m_pFrame != nullptr) m_pFrame->Hide();
    if (m_hWnd != 0) platform::ShowWindow(m_hWnd, platform::SW_HIDE);
}

void MyWebDlg::RunModal() {
    platform::QueuedMSG message;
    while (!m_bEnded && platform::GetMessageW(&message) != 0) {
        if (!platform::PreTranslateMessage(message)) platform::DispatchMessageW(&message);
    }
    // A quit request met in the nested loop belongs to the host's own loop.
    if (message.message == platform::WM_QUIT) platform::PostQuitMessage(static_cast<int>(message.wParam));
}
