#include "MyWebDlg.h"

#include "DialogFrame.h"
#include "DpiScale.h"

#include "DefaultBrowser.h"
#include "MainThreadCall.h"
#include "WindowCore.h"

#include <condition_variable>
#include <mutex>

namespace {

constexpr wchar_t kDialogClass[] = L"MyWebDlg";
// How long a call from another thread waits for the main thread to take it.
constexpr int kMainThreadTimeoutMs = 10000;

// Set once on the main thread, waited for on the calling one.
class EndSignal {
public:
    void Set() {
        {
            std::lock_guard lock(m_mutex);
            m_bSet = true;
        }
        m_changed.notify_all();
    }
    void Wait() {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] { return m_bSet; });
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_bSet = false;
};

}  // namespace

MyWebDlg::MyWebDlg(int width, int height, std::wstring address, bool modal, std::function<void()> onEnded)
    : m_nWidth(width), m_nHeight(height), m_strAddress(std::move(address)), m_bModal(modal), m_onEnded(std::move(onEnded)) {}

MyWebDlg::~MyWebDlg() = default;

platform::HWND MyWebDlg::Open(int width, int height, std::wstring address, bool modal) {
    if (!platform::IsMainThread()) return OpenFromOtherThread(width, height, std::move(address), modal);
    const platform::HWND hwnd = Show(width, height, std::move(address), modal, nullptr);
    if (!modal || hwnd == 0) return hwnd;
    // Ending hides the dialog; the host may also destroy it from a handler meanwhile.
    platform::RunModalLoop([hwnd] { return platform::IsWindow(hwnd) && platform::IsWindowVisible(hwnd); });
    if (platform::IsWindow(hwnd)) platform::DestroyWindow(hwnd);
    return 0;
}

platform::HWND MyWebDlg::OpenFromOtherThread(int width, int height, std::wstring address, bool modal) {
    platform::HWND hwnd = 0;
    if (!modal) {
        platform::CallOnMainThread([&] { hwnd = Show(width, height, std::move(address), false, nullptr); }, kMainThreadTimeoutMs);
        return hwnd;
    }
    const auto ended = std::make_shared<EndSignal>();
    const bool shown = platform::CallOnMainThread(
        [&] { hwnd = Show(width, height, std::move(address), true, [ended] { ended->Set(); }); }, kMainThreadTimeoutMs);
    if (!shown || hwnd == 0) return 0;
    ended->Wait();
    platform::CallOnMainThread([hwnd] {
        if (platform::IsWindow(hwnd)) platform::DestroyWindow(hwnd);
    }, kMainThreadTimeoutMs);
    return 0;
}

platform::HWND MyWebDlg::Show(int width, int height, std::wstring address, bool modal, std::function<void()> onEnded) {
    static const bool registered = platform::RegisterClassW(kDialogClass, &MyWebDlg::WindowProc);
    (void)registered;
    auto* dialog = new MyWebDlg(width, height, std::move(address), modal, std::move(onEnded));
    const platform::HWND hwnd = platform::CreateWindowExW(0, kDialogClass, L"", 0, 0, 0, 0, 0, 0, dialog);
    if (hwnd == 0) {
        delete dialog;
        return 0;
    }
    // From here on the window owns the dialog: it is deleted with the window.
    if (!dialog->m_pFrame) {
        platform::DestroyWindow(hwnd);
        return 0;
    }
    return hwnd;
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
        self->NotifyEnded();
        return 0;
    case platform::WM_NCDESTROY:
        platform::SetWindowUserData(hwnd, nullptr);
        delete self;
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
        m_pBrowser->Navigate(m_strAddress);
    }
    if (m_bModal) m_pFrame->BeginModal();
    m_pFrame->ShowCentred(sizes.outerWidth, sizes.outerHeight);
    platform::MoveWindow(m_hWnd, 0, 0, sizes.outerWidth, sizes.outerHeight);
    platform::ShowWindow(m_hWnd, platform::SW_SHOWNORMAL);
    m_pFrame->SetTitle(L"");
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
    if (m_pFrame != nullptr) {
        m_pFrame->EndModal();
        m_pFrame->Hide();
    }
    if (m_hWnd != 0) platform::ShowWindow(m_hWnd, platform::SW_HIDE);
    NotifyEnded();
}

void MyWebDlg::NotifyEnded() {
    if (!m_onEnded) return;
    const std::function<void()> onEnded = std::move(m_onEnded);
    m_onEnded = nullptr;
    onEnded();
}
