#pragma once
// The base of every control built from markup: name, fixed geometry, background, text,
// visibility, and its placed rectangle in window coordinates.
#include "UIGeometry.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace uikit {

class CPaintManagerUI;
class CPaintContext;

class CControlUI {
public:
    CControlUI() = default;
    virtual ~CControlUI() = default;
    CControlUI(const CControlUI&) = delete;
    CControlUI& operator=(const CControlUI&) = delete;

    virtual std::string_view GetClass() const { return "Control"; }
    // Applies one markup attribute; unknown names are ignored.
    virtual void SetAttribute(std::string_view name, std::string_view value);

    const std::string& GetName() const { return m_strName; }
    void SetName(std::string name) { m_strName = std::move(name); }

    const std::string& GetText() const { return m_strText; }
    virtual void SetText(std::string text);

    bool IsVisible() const { return m_bVisible; }
    virtual void SetVisible(bool visible);

    std::uint32_t GetBkColor() const { return m_dwBkColor; }
    const std::string& GetBkImage() const { return m_strBkImage; }
    void SetBkImage(std::string image);

    bool IsFloat() const { return m_bFloat; }
    int GetFixedX() const { return m_nFixedX; }
    int GetFixedY() const { return m_nFixedY; }
    int GetFixedWidth() const { return m_nFixedWidth; }
    int GetFixedHeight() const { return m_nFixedHeight; }

    // The placed rectangle, in window coordinates.
    const UIRect& GetPos() const { return m_rcItem; }
    virtual void SetPos(const UIRect& rect);

    CControlUI* GetParent() const { return m_pParent; }
    CPaintManagerUI* GetManager() const { return m_pManager; }
    virtual void SetManager(CPaintManagerUI* manager, CControlUI* parent);

    // The deepest visible control at the point, this one or a child; null when outside.
    virtual CControlUI* FindControlAt(int x, int y);
    // Calls visit for this control and every control below it, depth-first in document order.
    virtual void ForEach(const std::function<void(CControlUI&)>& visit);

    // Asks the window to repaint this control's rectangle.
    void Invalidate();

    // Paints the control: background fill, background image, state image, text.
    virtual void DoPaint(CPaintContext& paint);

protected:
    virtual void PaintStatusImage(CPaintContext& paint) {}
    virtual void PaintText(CPaintContext& paint) {}

    std::string m_strName;
    std::string m_strText;
    std::string m_strBkImage;
    std::uint32_t m_dwBkColor = 0;
    bool m_bVisible = true;
    bool m_bFloat = false;
    int m_nFixedX = 0;
    int m_nFixedY = 0;
    int m_nFixedWidth = 0;
    int m_nFixedHeight = 0;
    UIRect m_rcItem;
    CControlUI* m_pParent = nullptr;
    CPaintManagerUI* m_pManager = nullptr;
};

}  // namespace uikit
