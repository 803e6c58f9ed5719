#pragma once
// Controls that hold others: the stacking layouts and the tab layout.
#include "UIControl.h"

#include <memory>
#include <vector>

namespace uikit {

class CContainerUI : public CControlUI {
public:
    std::string_view GetClass() const override { return "Container"; }

    void Add(std::unique_ptr<CControlUI> control);
    int GetCount() const { return static_cast<int>(m_items.size()); }
    CControlUI* GetItemAt(int index) const;

    void SetManager(CPaintManagerUI* manager, CControlUI* parent) override;
    CControlUI* FindControlAt(int x, int y) override;
    void ForEach(const std::function<void(CControlUI&)>& visit) override;
    // Paints itself, then its visible children inside its own rectangle.
    void DoPaint(CPaintContext& paint) override;

protected:
    // Places a floating child by its fixed position and size, relative to this control.
    void PlaceFloating(CControlUI& child) const;

    std::vector<std::unique_ptr<CControlUI>> m_items;
};

// Stacks its visible, non-floating children top to bottom; children without a fixed height
// share what is left equally.
class CVerticalLayoutUI : public CContainerUI {
public:
    std::string_view GetClass() const override { return "VerticalLayout"; }
    void SetPos(const UIRect& rect) override;
};

// The same from left to right.
class CHorizontalLayoutUI : public CContainerUI {
public:
    std::string_view GetClass() const override { return "HorizontalLayout"; }
    void SetPos(const UIRect& rect) override;
};

// Shows exactly one child page, the first at start.
class CTabLayoutUI : public CContainerUI {
public:
    std::string_view GetClass() const override { return "TabLayout"; }
    void SetPos(const UIRect& rect) override;
    int GetCurSel() const { return m_nCurSel; }
    // Shows page index and hides the others; false when there is no such page.
    bool SelectItem(int index);

private:
    int m_nCurSel = 0;
};

}  // namespace uikit
