#include "UILabel.h"

#include "UIPaint.h"

#include <algorithm>

namespace uikit {

void CLabelUI::SetAttribute(std::string_view name, std::string_view value) {
    if (name == "textcolor") {
        m_dwTextColor = ParseColor(value);
    } else if (name == "font") {
        m_nFont = ParseInt(value);
    } else if (name == "align") {
        if (value == "left") m_align = HorizontalAlign::Left;
        if (value == "center") m_align = HorizontalAlign::Center;
        if (value == "right") m_align = HorizontalAlign::Right;
    } else if (name == "valign") {
        if (value == "top") m_valign = VerticalAlign::Top;
        if (value == "vcenter") m_valign = VerticalAlign::Center;
        if (value == "bottom") m_valign = VerticalAlign::Bottom;
    } else {
        CControlUI::SetAttribute(name, value);
    }
}

void CLabelUI::PaintText(CPaintContext& paint) {
    // 0 stands for the window's default text colour, black.
    paint.DrawText(m_strText, m_rcItem, m_nFont, m_dwTextColor & 0xFFFFFF, m_align, m_valign);
}

void CButtonUI::SetAttribute(std::string_view name, std::string_view value) {
    if (name == "normalimage") {
        m_strNormalImage = std::string(value);
    } else if (name == "hotimage") {
        m_strHotImage = std::string(value);
    } else if (name == "pushedimage") {
        m_strPushedImage = std::string(value);
    } else {
        CLabelUI::SetAttribute(name, value);
    }
}

void CButtonUI::SetState(State state) {
    if (m_state == state) return;
    m_state = state;
    Invalidate();
}

const std::string& CButtonUI::CurrentImage() const {
    if (m_state == State::Pushed && !m_strPushedImage.empty()) return m_strPushedImage;
    if (m_state != State::Normal && !m_strHotImage.empty()) return m_strHotImage;
    return m_strNormalImage;
}

void CButtonUI::PaintStatusImage(CPaintContext& paint) { paint.DrawImage(m_rcItem, CurrentImage()); }

void CProgressUI::SetAttribute(std::string_view name, std::string_view value) {
    if (name == "min") {
        m_nMin = ParseInt(value);
    } else if (name == "max") {
        m_nMax = ParseInt(value);
    } else if (name == "value") {
        SetValue(ParseInt(value));
    } else if (name == "foreimage") {
        m_strForeImage = std::string(value);
    } else if (name == "hor") {
        m_bHorizontal = ParseBool(value);
    } else if (name == "isstretchfore") {
        m_bStretchFore = ParseBool(value);
    } else {
        CLabelUI::SetAttribute(name, value);
    }
}

void CProgressUI::SetValue(int value) {
    if (value == m_nValue || value < m_nMin || value > m_nMax) return;
    m_nValue = value;
    Invalidate();
}

int CProgressUI::FillExtent(int extent) const {
    const int maxValue = m_nMax > m_nMin ? m_nMax : m_nMin + 1;
    const int value = std::clamp(m_nValue, m_nMin, maxValue);
    return static_cast<int>(static_cast<long long>(value - m_nMin) * extent / (maxValue - m_nMin));
}

void CProgressUI::PaintStatusImage(CPaintContext& paint) {
    if (m_strForeImage.empty()) return;
    UIRect part = m_rcItem;
    if (m_bHorizontal) {
        part.right = m_rcItem.left + FillExtent(m_rcItem.Width());
    } else {
        part.top = m_rcItem.bottom - FillExtent(m_rcItem.Height());
    }
    if (part.Width() <= 0 || part.Height() <= 0) return;
    ImageDrawSpec drawing = ParseImageString(m_strForeImage);
    if (!m_bStretchFore) {
        // The same part of the image, cut out rather than squeezed.
        drawing.source = UIRect{0, m_bHorizontal ? 0 : m_rcItem.Height() - part.Height(), part.Width(),
                             m_bHorizontal ? part.Height() : m_rcItem.Height()};
        drawing.corner = UIRect{};
    }
    paint.DrawImage(part, drawing);
}

}  // namespace uikit
