#pragma once
// The launcher's own modal message box, built from "CustomMsgBox.xml": one line of text
// under the title "提示", an OK button and a close button, either of which also closes the
// owner window.
#include "WindowImplBase.h"

#include <string>

namespace uikit {
class CButtonUI;
}

class CustomMsgBox : public uikit::WindowImplBase {
public:
    const wchar_t* GetWindowClassName() const override { return L"CustomMsgBoxClass"; }
    std::wstring GetSkinFolder() const override { return L""; }
    std::wstring GetSkinFile() const override { return L"CustomMsgBox.xml"; }
    uikit::UILIB_RESOURCETYPE GetResourceType() const override { return uikit::UILIB_RESOURCETYPE::UILIB_ZIPRESOURCE; }
    int GetResourceID() const override { return 130; }

    // The wParam of the WM_CLOSE that closed the box: 1 OK, 8 the close button, 0 otherwise.
    int Result() const { return m_nResult; }
    bool m_bCloseOwnerOnOk = true;

protected:
    void InitWindow() override;
    platform::LRESULT HandleMessage(platform::UINT message, platform::WPARAM wParam, platform::LPARAM lParam) override;
    void OnClick(uikit::TNotifyUI& msg) override;

private:
    uikit::CButtonUI* m_pCloseButton = nullptr;
    uikit::CButtonUI* m_pOkButton = nullptr;
    int m_nResult = 0;
};

// Shows the box over the owner, which takes no input meanwhile, and returns once the box has
// been closed: 1 (OK), 8 (the close button) or 0 (closed any other way). The owner's and the
// page's messages, and other processes', are served meanwhile.
int ShowMsgBox(platform::HWND owner, const std::wstring& text);
