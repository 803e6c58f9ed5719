#include "WindowImplBase.h"

#include "SkinArchive.h"
#include "UILabel.h"
#include "ModalShake.h"
#include "UIPaint.h"

#include "Resources.h"
#include "Text.h"

#include <cstdlib>
#include <unordered_set>

namespace uikit {
namespace {

constexpr wchar_t kResourceType[] = L"ZIPRES";

// Controls under which a press in the caption band stays with the control.
bool KeepsClicksInCaption(const CControlUI& control) {
    static const std::unordered_set<std::string_view> kinds = {"Button", "Option", "CheckBox", "Text",
                                                                "Slider", "Edit", "RichEdit", "ScrollBar"};
    return kinds.contains(control.GetClass());
}

}  // namespace

void RegisterShadowWindowClass() {
    static const bool registered = platform::RegisterClassW(kShadowWindowClass, &platform::DefWindowProcW);
    (void)registered;
}

WindowImplBase::~WindowImplBase() = default;

platform::HWND WindowImplBase::Create(platform::HWND parent, const std::wstring& title, std::uint32_t style,
                                      std::uint32_t exStyle) {
    // Registered once per class name; a second registration of the same name is refused.
    platform::RegisterClassW(GetWindowClassName(), &WindowImplBase::WindowProc);
    return platform::CreateWindowExW(exStyle, GetWindowClassName(), title, style, 0, 0, 0, 0, parent, this);
}

void WindowImplBase::CenterWindow() {
    const platform::RECT rect = platform::GetWindowRect(m_hWnd);
    const UIRect work = Display().WorkArea();
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    platform::MoveWindow(m_hWnd, work.left + (work.Width() - width) / 2, work.top + (work.Height() - height) / 2, width,
                         height);
}

platform::LRESULT WindowImplBase::WindowProc(platform::HWND hwnd, platform::UINT message, platform::WPARAM wParam,
                                             platform::LPARAM lParam) {
    auto* self = static_cast<WindowImplBase*>(platform::GetWindowUserData(hwnd));
    if (message == platform::WM_CREATE) {
        self = static_cast<WindowImplBase*>(reinterpret_cast<const platform::CREATESTRUCTW*>(lParam)->lpCreateParams);
        platform::SetWindowUserData(hwnd, self);
        self->m_hWnd = hwnd;
        self->OnCreate();
        return 0;
    }
    if (self == nullptr) return platform::DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == platform::WM_NCDESTROY) {
        platform::SetWindowUserData(hwnd, nullptr);
        self->m_pDisplay.reset();
        self->m_hWnd = 0;
        self->m_hShadow = 0;
        self->OnFinalMessage(hwnd);
        return 0;
    }
    return self->HandleMessage(message, wParam, lParam);
}

void WindowImplBase::OnCreate() {
    m_pDisplay = Display().CreateDisplayWindow(m_hWnd, *this);
    m_PaintManager.SetPaintWindow(m_hWnd);
    platform::AddMessageFilter(this);
    m_PaintManager.AddNotifier(this);
    m_PaintManager.SetInvalidateHandler([this](const UIRect& rect) {
        if (m_pDisplay) m_pDisplay->Invalidate(rect);
    });
    if (GetResourceType() != UILIB_RESOURCETYPE::UILIB_ZIPRESOURCE) return;  // only the embedded package is used
    const std::optional<platform::ResourceBytes> package = platform::FindResource(kResourceType, GetResourceID());
    // Without the package the window stays empty and is not initialised.
    if (!package || package->size == 0) return;

    const std::string layoutName = platform::WideToUtf8(GetSkinFile());
    CSkinArchive& archive = CSkinArchive::Current();
    std::string markup;
    std::string error;
    std::unique_ptr<CControlUI> root;
    if (archive.OpenMemory(package->data, package->size) && archive.ReadEntry(layoutName, kMaxLayoutBytes, markup, error)) {
        root = CDialogBuilder().Create(markup, m_PaintManager, this, error);
    }
    if (root == nullptr) {
        Display().ShowErrorBox(kLayoutLoadFailedText, layoutName);
        std::exit(1);
    }
    m_PaintManager.AttachDialog(std::move(root));
    const UIRect corners = ShadowCorners();
    if (corners != UIRect{}) {
        // An owned popup that the platform destroys together with this window.
        RegisterShadowWindowClass();
        m_hShadow = platform::CreateWindowExW(0, kShadowWindowClass, L"", 0, 0, 0, 0, 0, m_hWnd, nullptr);
    }
    const platform::RECT rect = platform::GetWindowRect(m_hWnd);
    const UISize size = m_PaintManager.Window().size;
    platform::MoveWindow(m_hWnd, rect.left, rect.top, size.cx, size.cy);
    SyncDisplayRect();
    InitWindow();
}

void WindowImplBase::SyncDisplayRect() {
    const platform::RECT rect = platform::GetWindowRect(m_hWnd);
    if (m_pDisplay) m_pDisplay->SetRect(UIRect{rect.left, rect.top, rect.right, rect.bottom});
    SyncShadow();
}

// The shadow covers the window grown by its corners, and shows only while the window is
// shown, neither minimised nor maximised.
void WindowImplBase::SyncShadow() {
    if (m_hShadow == 0 || !platform::IsWindow(m_hShadow)) return;
    const bool shown = platform::IsWindowVisible(m_hWnd) && !platform::IsIconic(m_hWnd) && !platform::IsZoomed(m_hWnd);
    if (m_pDisplay) m_pDisplay->SetShadowVisible(shown);
    const platform::RECT rect = platform::GetWindowRect(m_hWnd);
    const UIRect corners = ShadowCorners();
    platform::MoveWindow(m_hShadow, rect.left - corners.left, rect.top - corners.top,
                         rect.right - rect.left + corners.left + corners.right,
                         rect.bottom - rect.top + corners.top + corners.bottom);
    if (shown != platform::IsWindowVisible(m_hShadow)) platform::ShowWindow(m_hShadow, shown ? platform::SW_SHOWNA : platform::SW_HIDE);
}

platform::LRESULT WindowImplBase::HitTest(int x, int y) const {
    const platform::RECT outer = platform::GetWindowRect(m_hWnd);
    const UIRect client{0, 0, outer.right - outer.left, outer.bottom - outer.top};
    const WindowAttributes& window = m_PaintManager.Window();
    if (!platform::IsZoomed(m_hWnd)) {
        const UIRect& box = window.sizebox;
        if (y < client.top + box.top) {
            if (x < client.left + box.left) return platform::HTTOPLEFT;
            if (x >= client.right - box.right) return platform::HTTOPRIGHT;
            return platform::HTTOP;
        }
        if (y >= client.bottom - box.bottom) {
            if (x < client.left + box.left) return platform::HTBOTTOMLEFT;
            if (x >= client.right - box.right) return platform::HTBOTTOMRIGHT;
            return platform::HTBOTTOM;
        }
        if (x < client.left + box.left) return platform::HTLEFT;
        if (x >= client.right - box.right) return platform::HTRIGHT;
    }
    const UIRect& caption = window.caption;
    // The band's fourth value is its bottom line, measured from the top.
    if (x >= client.left + caption.left && x < client.right - caption.right && y >= caption.top && y < caption.bottom) {
        CControlUI* control = m_PaintManager.GetRoot() != nullptr ? m_PaintManager.GetRoot()->FindControlAt(x, y) : nullptr;
        if (control != nullptr && !KeepsClicksInCaption(*control)) return platform::HTCAPTION;
    }
    return platform::HTCLIENT;
}

void WindowImplBase::OnMouse(platform::UINT message, int x, int y) {
    CControlUI* root = m_PaintManager.GetRoot();
    auto* button = root != nullptr ? dynamic_cast<CButtonUI*>(root->FindControlAt(x, y)) : nullptr;
    if (message == platform::WM_MOUSEMOVE || message == platform::WM_MOUSELEAVE) {
        if (message == platform::WM_MOUSELEAVE) button = nullptr;
        if (m_pPushed != nullptr) return;  // the pressed button keeps its state until release
        if (m_pHot != nullptr && m_pHot != button) m_pHot->SetState(CButtonUI::State::Normal);
        m_pHot = button;
        if (m_pHot != nullptr) m_pHot->SetState(CButtonUI::State::Hot);
    } else if (message == platform::WM_LBUTTONDOWN) {
        if (button != nullptr) {
            m_pPushed = button;
            button->SetState(CButtonUI::State::Pushed);
        } else if (const platform::LRESULT hit = HitTest(x, y); hit != platform::HTCLIENT && m_pDisplay) {
            m_pDisplay->BeginDrag(hit);
        }
    } else if (message == platform::WM_LBUTTONUP && m_pPushed != nullptr) {
        CButtonUI* pressed = m_pPushed;
        m_pPushed = nullptr;
        m_pHot = button;
        pressed->SetState(button == pressed ? CButtonUI::State::Hot : CButtonUI::State::Normal);
        if (button == pressed) m_PaintManager.SendNotify(pressed, "click");
    }
}

platform::LRESULT WindowImplBase::HandleMessage(platform::UINT message, platform::WPARAM wParam, platform::LPARAM lParam) {
    switch (message) {
    case platform::WM_SIZE:
        if (wParam != platform::SIZE_MINIMIZED) {
            m_PaintManager.Layout(UISize{platform::GET_X_LPARAM(lParam), platform::GET_Y_LPARAM(lParam)});
        }
        // Minimised to the taskbar; the shadow disappears meanwhile.
        if (m_pDisplay) m_pDisplay->SetMinimized(wParam == platform::SIZE_MINIMIZED);
        SyncDisplayRect();
        return 0;
    case platform::WM_MOVE:
        SyncDisplayRect();
        return 0;
    case platform::WM_SHOWWINDOW:
        if (m_pDisplay) m_pDisplay->SetVisible(wParam != 0);
        SyncShadow();
        return 0;
    case platform::WM_SETTEXT:
        if (m_pDisplay && lParam != 0) m_pDisplay->SetTitle(reinterpret_cast<const wchar_t*>(lParam));
        return 0;
    case platform::WM_SETICON:
        if (const std::optional<platform::ResourceBytes> image = platform::IconImage(static_cast<platform::HICON>(lParam));
            image && m_pDisplay) {
            m_pDisplay->SetIcon(image->data, image->size);
        }
        return 0;
    case platform::WM_WINDOWPOSCHANGED: {
        const auto* position = reinterpret_cast<const platform::WINDOWPOS*>(lParam);
        if (position != nullptr && (position->flags & platform::SWP_NOZORDER) == 0 &&
            position->hwndInsertAfter == platform::HWND_TOP && m_pDisplay) {
            m_pDisplay->RaiseAndActivate();
        }
        return 0;
    }
    case platform::WM_NCHITTEST:
        m_PaintManager.EnsureLayout();
        return HitTest(platform::GET_X_LPARAM(lParam), platform::GET_Y_LPARAM(lParam));
    case platform::WM_ENABLE:
        if (m_pDisplay) m_pDisplay->SetEnabled(wParam != 0);
        return 0;
    case platform::WM_SETFOCUS:
        if (m_pDisplay) m_pDisplay->RaiseAndActivate();
        return 0;
    case WM_REGISTER_MODAL:
        RegisterModalWindow(static_cast<platform::HWND>(lParam));
        return 0;
    case WM_SHAKE_MODAL:
        StartShake(m_hWnd);
        return 0;
    case platform::WM_TIMER:
        if (wParam != kShakeTimer) break;
        OnShakeTick(m_hWnd);
        return 0;
    case platform::WM_SETCURSOR:
        if (static_cast<platform::UINT>((lParam >> 16) & 0xFFFF) == platform::WM_LBUTTONDOWN) OnDisabledOwnerClicked(m_hWnd);
        return 0;
    case platform::WM_MOUSEMOVE:
    case platform::WM_MOUSELEAVE:
    case platform::WM_LBUTTONDOWN:
    case platform::WM_LBUTTONUP:
        // A disabled window takes no input; a press on it is the click a modal box answers.
        if (!platform::IsWindowEnabled(m_hWnd)) {
            if (message == platform::WM_LBUTTONDOWN) {
                platform::SendMessageW(m_hWnd, platform::WM_SETCURSOR, static_cast<platform::WPARAM>(m_hWnd),
                                       platform::MAKELPARAM(platform::HTCLIENT, platform::WM_LBUTTONDOWN));
            }
            return 0;
        }
        m_PaintManager.EnsureLayout();
        OnMouse(message, platform::GET_X_LPARAM(lParam), platform::GET_Y_LPARAM(lParam));
        return 0;
    case platform::WM_SYSCOMMAND: {
        bool handled = true;
        const platform::LRESULT result = OnSysCommand(message, wParam, lParam, handled);
        if (handled) return result;
        break;
    }
    case platform::WM_DESTROY:
        platform::RemoveMessageFilter(this);
        m_PaintManager.RemoveNotifier(this);
        m_pHot = nullptr;
        m_pPushed = nullptr;
        return 0;
    default: {
        bool handled = false;
        const platform::LRESULT result = HandleCustomMessage(message, wParam, lParam, handled);
        if (handled) return result;
    }
    }
    return platform::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

platform::LRESULT WindowImplBase::HandleCustomMessage(platform::UINT, platform::WPARAM, platform::LPARAM, bool& bHandled) {
    bHandled = false;
    return 0;
}

platform::LRESULT WindowImplBase::OnSysCommand(platform::UINT message, platform::WPARAM wParam, platform::LPARAM lParam,
                                               bool& bHandled) {
    bHandled = true;
    switch (wParam & 0xFFF0) {
    case platform::SC_CLOSE: return platform::SendMessageW(m_hWnd, platform::WM_CLOSE, 0, 0);
    case platform::SC_MINIMIZE: platform::ShowWindow(m_hWnd, platform::SW_MINIMIZE); return 0;
    case platform::SC_MAXIMIZE: platform::ShowWindow(m_hWnd, platform::SW_SHOWMAXIMIZED); return 0;
    case platform::SC_RESTORE: platform::ShowWindow(m_hWnd, platform::SW_RESTORE); return 0;
    case platform::SC_MOVE:
        // SC_MOVE with HTCAPTION in its low bits: the desktop's move follows the pointer.
        if (m_pDisplay) m_pDisplay->BeginDrag(platform::HTCAPTION);
        return 0;
    default: bHandled = false; return 0;
    }
}

void WindowImplBase::Notify(TNotifyUI& msg) {
    if (msg.sType == "click") OnClick(msg);
}

void WindowImplBase::PaintClient(cairo_t* cr) { PaintWindow(cr, m_PaintManager, CSkinArchive::Current()); }

UIRect WindowImplBase::ShadowCorners() const { return uikit::ShadowCorners(m_PaintManager); }

void WindowImplBase::PaintShadow(cairo_t* cr, const UIRect& shadowRect) {
    uikit::PaintShadow(cr, m_PaintManager, CSkinArchive::Current(), shadowRect);
}

}  // namespace uikit
