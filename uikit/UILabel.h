#pragma once
// Text on a single line, and the controls that extend it.
#include "UIControl.h"
#include "UIImageString.h"

namespace uikit {

enum class HorizontalAlign { Left, Center, Right };
enum class VerticalAlign { Top, Center, Bottom };

class CLabelUI : public CControlUI {
public:
    std::string_view GetClass() const override { return "Label"; }
    void SetAttribute(std::string_view name, std::string_view value) override;

    // 0 means the window's default text colour; the alpha byte is never used.
    std::uint32_t GetTextColor() const { return m_dwTextColor; }
    // -1 means the window's default font.
    int GetFont() const { return m_nFont; }
    HorizontalAlign GetAlign() const { return m_align; }
    VerticalAlign GetVAlign() const { return m_valign; }

protected:
    void PaintText(CPaintContext& paint) override;

    std::uint32_t m_dwTextColor = 0;
    int m_nFont = -1;
    HorizontalAlign m_align = HorizontalAlign::Left;
    VerticalAlign m_valign = VerticalAlign::Center;
};

// A label with normal, hot and pushed images; a click raises the window's "click"
// notification with the button as sender.
class CButtonUI : public CLabelUI {
public:
    CButtonUI() { m_align = HorizontalAlign::Center; }
    std::string_view GetClass() const override { return "Button"; }
    void SetAttribute(std::string_view name, std::string_view value) override;

    enum class State { Normal, Hot, Pushed };
    State GetState() const { return m_state; }
    void SetState(State state);
    // The image string for the current state (normal when the state has none).
    const std::string& CurrentImage() const;

protected:
    void PaintStatusImage(CPaintContext& paint) override;

private:
    std::string m_strNormalImage;
    std::string m_strHotImage;
    std::string m_strPushedImage;
    State m_state = State::Normal;
};

class CProgressUI : public CLabelUI {
public:
    std::string_view GetClass() const override { return "Progress"; }
    void SetAttribute(std::string_view name, std::string_view value) override;

    int GetMinValue() const { return m_nMin; }
    int GetMaxValue() const { return m_nMax; }
    int GetValue() const { return m_nValue; }
    // A value outside min..max, or equal to the current one, is ignored.
    void SetValue(int value);
    bool IsHorizontal() const { return m_bHorizontal; }
    bool IsStretchForeImage() const { return m_bStretchFore; }
    const std::string& GetForeImage() const { return m_strForeImage; }
    // The width (or height) of the fill within `extent` pixels: max raised to min + 1 when
    // not above min, the value clamped, integer division.
    int FillExtent(int extent) const;

protected:
    void PaintStatusImage(CPaintContext& paint) override;

private:
    int m_nMin = 0;
    int m_nMax = 100;
    int m_nValue = 0;
    bool m_bHorizontal = true;
    bool m_bStretchFore = true;
    std::string m_strForeImage;
};

}  // namespace uikit
