#include "UIControl.h"

#include "UIManager.h"
#include "UIPaint.h"

namespace uikit {

void CControlUI::SetAttribute(std::string_view name, std::string_view value) {
    if (name == "name") {
        m_strName = std::string(value);
    } else if (name == "pos") {
        const std::optional<UIRect> rect = ParseRect(value);
        if (!rect) return;
        m_nFixedX = rect->left >= 0 ? rect->left : rect->right;
        m_nFixedY = rect->top >= 0 ? rect->top : rect->bottom;
        // "320,320,0,0" places the control without sizing it.
        if (rect->Width() >= 0) m_nFixedWidth = rect->Width();
        if (rect->Height() >= 0) m_nFixedHeight = rect->Height();
    } else if (name == "float") {
        m_bFloat = ParseBool(value);
    } else if (name == "width") {
        m_nFixedWidth = std::max(0, ParseInt(value));
    } else if (name == "height") {
        m_nFixedHeight = std::max(0, ParseInt(value));
    } else if (name == "bkcolor") {
        m_dwBkColor = ParseColor(value);
    } else if (name == "bkimage") {
        SetBkImage(std::string(value));
    } else if (name == "text") {
        SetText(std::string(value));
    } else if (name == "visible") {
        SetVisible(ParseBool(value));
    }
}

void CControlUI::SetText(std::string text) {
    m_strText = std::move(text);
    Invalidate();
}

void CControlUI::SetVisible(bool visible) {
    if (m_bVisible == visible) return;
    m_bVisible = visible;
    if (m_pManager != nullptr) m_pManager->NeedUpdate();
}

void CControlUI::SetBkImage(std::string image) {
    m_strBkImage = std::move(image);
    Invalidate();
}

void CControlUI::SetPos(const UIRect& rect) { m_rcItem = rect; }

void CControlUI::SetManager(CPaintManagerUI* manager, CControlUI* parent) {
    m_pManager = manager;
    m_pParent = parent;
}

CControlUI* CControlUI::FindControlAt(int x, int y) {
    return m_bVisible && m_rcItem.Contains(x, y) ? this : nullptr;
}

void CControlUI::ForEach(const std::function<void(CControlUI&)>& visit) { visit(*this); }

void CControlUI::Invalidate() {
    if (m_pManager != nullptr) m_pManager->Invalidate(m_rcItem);
}

void CControlUI::DoPaint(CPaintContext& paint) {
    paint.FillRect(m_rcItem, m_dwBkColor);
    paint.DrawImage(m_rcItem, m_strBkImage);
    PaintStatusImage(paint);
    PaintText(paint);
}

}  // namespace uikit
