#include "CustomMsgBox.h"

#include "Logger.h"
#include "ModalShake.h"
#include "UILabel.h"
#include "display/DisplayBackend.h"

#include "Text.h"
#include "WindowCore.h"
#include "WindowMessaging.h"

#include <algorithm>
#include <memory>

namespace {

// WS_VISIBLE | WS_OVERLAPPEDWINDOW: the skin decides the real frame and size.
constexpr std::uint32_t kBoxStyle = 0x10CF0000;
constexpr platform::WPARAM kClosedByOk = 1;
constexpr platform::WPARAM kClosedByCloseButton = 8;

// Centred over the owner (over the work area without one), then moved inside the work area
// of the owner's monitor where it would stick out.
void PlaceOverOwner(platform::HWND box, platform::HWND owner) {
    const platform::RECT rect = platform::GetWindowRect(box);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    uikit::UIRect work = uikit::Display().WorkArea();
    uikit::UIRect over = work;
    if (platform::IsWindow(owner)) {
        const platform::RECT ownerRect = platform::GetWindowRect(owner);
        over = uikit::UIRect{ownerRect.left, ownerRect.top, ownerRect.right, ownerRect.bottom};
        work = uikit::Display().WorkAreaAt(over.left + over.Width() / 2, over.top + over.Height() / 2);
    }
    int left = over.left + (over.Width() - width) / 2;
    int top = over.top + (over.Height() - height) / 2;
    left = left < work.left ? work.left : std::min(left, work.right - width);
    top = top < work.top ? work.top : std::min(top, work.bottom - height);
    platform::MoveWindow(box, left, top, width, height);
}

}  // namespace

void CustomMsgBox::InitWindow() {
    m_pCloseButton = m_PaintManager.FindControlAs<uikit::CButtonUI>("btnClose");
    m_pOkButton = m_PaintManager.FindControlAs<uikit::CButtonUI>("btnOk");
}

platform::LRESULT CustomMsgBox::HandleMessage(platform::UINT message, platform::WPARAM wParam,
                                              platform::LPARAM lParam) {
    // A double click on the caption neither maximises nor restores the box.
    if (message == platform::WM_NCLBUTTONDBLCLK) return 0;
    if (message == platform::WM_CLOSE) {
        // The code of the close, and the owner gets its input back at once.
        m_nResult = static_cast<int>(wParam);
        const platform::HWND owner = platform::GetParent(GetHWND());
        platform::EnableWindow(owner, true);
        platform::SetFocus(owner);
    }
    return WindowImplBase::HandleMessage(message, wParam, lParam);
}

void CustomMsgBox::OnClick(uikit::TNotifyUI& msg) {
    const platform::HWND owner = platform::GetParent(GetHWND());
    if (msg.pSender == m_pCloseButton) {
        if (platform::IsWindow(GetHWND()))
            platform::PostMessageW(GetHWND(), platform::WM_CLOSE, kClosedByCloseButton, 0);
        platform::PostMessageW(owner, platform::WM_CLOSE, 0, 0);
    } else if (msg.pSender == m_pOkButton) {
        if (platform::IsWindow(GetHWND())) platform::PostMessageW(GetHWND(), platform::WM_CLOSE, kClosedByOk, 0);
        if (m_bCloseOwnerOnOk) platform::PostMessageW(owner, platform::WM_CLOSE, 0, 0);
    }
}

int ShowMsgBox(platform::HWND owner, const std::wstring& text) {
    auto box = std::make_unique<CustomMsgBox>();
    box->m_bCloseOwnerOnOk = true;
    const platform::HWND hwnd = box->Create(owner, L"CustomMsgBox", kBoxStyle, 0);
    if (hwnd == 0) {
        LOG_WRITE(0, L"create message box false:" << platform::AnsiToWide(platform::LastWindowError()));
    } else {
        if (!text.empty()) {
            if (auto* line = box->m_PaintManager.FindControlAs<uikit::CLabelUI>("labelTip"))
                line->SetText(platform::WideToUtf8(text));
        }
        PlaceOverOwner(hwnd, owner);
        const platform::HWND boxOwner = platform::GetParent(hwnd);
        platform::ShowWindow(hwnd, platform::SW_SHOWNORMAL);
        platform::EnableWindow(boxOwner, false);
        platform::SendMessageW(boxOwner, uikit::WM_REGISTER_MODAL, 0, hwnd);
        platform::RunModalLoop([hwnd] { return platform::IsWindow(hwnd); });
    }
    platform::EnableWindow(owner, true);
    platform::SetFocus(owner);
    const int result = box->Result();
    if (platform::IsWindow(hwnd)) platform::DestroyWindow(hwnd);
    return result;
}
