#include "UIContainer.h"

#include "UIManager.h"
#include "UIPaint.h"

namespace uikit {
namespace {

bool TakesPartInStacking(const CControlUI& child) { return child.IsVisible() && !child.IsFloat(); }

// Splits `available` among the stacked children: fixed sizes first, the rest shared
// equally, the last sharer taking what integer division leaves over.
template <typename FixedOf>
std::vector<int> ShareSpace(const std::vector<std::unique_ptr<CControlUI>>& items, int available, FixedOf fixedOf) {
    int fixedTotal = 0;
    int sharers = 0;
    for (const auto& item : items) {
        if (!TakesPartInStacking(*item)) continue;
        if (fixedOf(*item) > 0) {
            fixedTotal += fixedOf(*item);
        } else {
            ++sharers;
        }
    }
    const int rest = std::max(0, available - fixedTotal);
    const int share = sharers > 0 ? rest / sharers : 0;
    int leftover = sharers > 0 ? rest - share * sharers : 0;
    std::vector<int> sizes;
    int sharersLeft = sharers;
    for (const auto& item : items) {
        if (!TakesPartInStacking(*item)) {
            sizes.push_back(0);
        } else if (fixedOf(*item) > 0) {
            sizes.push_back(fixedOf(*item));
        } else {
            sizes.push_back(share + (--sharersLeft == 0 ? leftover : 0));
        }
    }
    return sizes;
}

}  // namespace

void CContainerUI::Add(std::unique_ptr<CControlUI> control) {
    control->SetManager(m_pManager, this);
    m_items.push_back(std::move(control));
}

CControlUI* CContainerUI::GetItemAt(int index) const {
    return index >= 0 && index < GetCount() ? m_items[static_cast<std::size_t>(index)].get() : nullptr;
}

void CContainerUI::SetManager(CPaintManagerUI* manager, CControlUI* parent) {
    CControlUI::SetManager(manager, parent);
    for (const auto& item : m_items) item->SetManager(manager, this);
}

CControlUI* CContainerUI::FindControlAt(int x, int y) {
    if (!IsVisible() || !m_rcItem.Contains(x, y)) return nullptr;
    // Later children are drawn over earlier ones, so they are asked first.
    for (auto it = m_items.rbegin(); it != m_items.rend(); ++it) {
        if (CControlUI* hit = (*it)->FindControlAt(x, y)) return hit;
    }
    return this;
}

void CContainerUI::ForEach(const std::function<void(CControlUI&)>& visit) {
    visit(*this);
    for (const auto& item : m_items) item->ForEach(visit);
}

void CContainerUI::DoPaint(CPaintContext& paint) {
    CControlUI::DoPaint(paint);
    paint.PushClip(m_rcItem);
    for (const auto& item : m_items) {
        if (item->IsVisible()) item->DoPaint(paint);
    }
    paint.PopClip();
}

void CContainerUI::PlaceFloating(CControlUI& child) const {
    const int left = m_rcItem.left + child.GetFixedX();
    const int top = m_rcItem.top + child.GetFixedY();
    child.SetPos(UIRect{left, top, left + child.GetFixedWidth(), top + child.GetFixedHeight()});
}

void CVerticalLayoutUI::SetPos(const UIRect& rect) {
    CControlUI::SetPos(rect);
    const std::vector<int> heights =
        ShareSpace(m_items, rect.Height(), [](const CControlUI& child) { return child.GetFixedHeight(); });
    int top = rect.top;
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        CControlUI& child = *m_items[i];
        if (child.IsFloat()) {
            PlaceFloating(child);
        } else if (child.IsVisible()) {
            const int width = child.GetFixedWidth() > 0 ? child.GetFixedWidth() : rect.Width();
            child.SetPos(UIRect{rect.left, top, rect.left + width, top + heights[i]});
            top += heights[i];
        }
    }
}

void CHorizontalLayoutUI::SetPos(const UIRect& rect) {
    CControlUI::SetPos(rect);
    const std::vector<int> widths =
        ShareSpace(m_items, rect.Width(), [](const CControlUI& child) { return child.GetFixedWidth(); });
    int left = rect.left;
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        CControlUI& child = *m_items[i];
        if (child.IsFloat()) {
            PlaceFloating(child);
        } else if (child.IsVisible()) {
            const int height = child.GetFixedHeight() > 0 ? child.GetFixedHeight() : rect.Height();
            child.SetPos(UIRect{left, rect.top, left + widths[i], rect.top + height});
            left += widths[i];
        }
    }
}

void CTabLayoutUI::SetPos(const UIRect& rect) {
    CControlUI::SetPos(rect);
    for (int i = 0; i < GetCount(); ++i) {
        CControlUI& page = *m_items[static_cast<std::size_t>(i)];
        page.SetVisible(i == m_nCurSel);
        if (page.IsFloat()) {
            PlaceFloating(page);
        } else {
            page.SetPos(rect);
        }
    }
}

bool CTabLayoutUI::SelectItem(int index) {
    if (index < 0 || index >= GetCount()) return false;
    m_nCurSel = index;
    for (int i = 0; i < GetCount(); ++i) m_items[static_cast<std::size_t>(i)]->SetVisible(i == index);
    if (m_pManager != nullptr) m_pManager->NeedUpdate();
    return true;
}

}  // namespace uikit
