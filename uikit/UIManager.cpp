#include "UIManager.h"

namespace uikit {

void CPaintManagerUI::SetWindowAttribute(std::string_view name, std::string_view value) {
    if (name == "size") {
        if (auto size = ParseSize(value)) m_window.size = *size;
    } else if (name == "sizebox") {
        if (auto rect = ParseRect(value)) m_window.sizebox = *rect;
    } else if (name == "caption") {
        if (auto rect = ParseRect(value)) m_window.caption = *rect;
    } else if (name == "mininfo") {
        if (auto size = ParseSize(value)) m_window.mininfo = *size;
    } else if (name == "maxinfo") {
        if (auto size = ParseSize(value)) m_window.maxinfo = *size;
    } else if (name == "showshadow") {
        m_window.showShadow = ParseBool(value);
    } else if (name == "shadowimage") {
        m_window.shadowImage = std::string(value);
    } else if (name == "shadowcorner") {
        const std::optional<UIRect> rect = ParseRect(value);
        // Negative corners make no nine-patch: the attribute is ignored.
        if (rect && rect->left >= 0 && rect->top >= 0 && rect->right >= 0 && rect->bottom >= 0) {
            m_window.shadowCorner = *rect;
        }
    }
}

void CPaintManagerUI::AddFont(FontSpec font, bool isDefault) {
    m_fonts.push_back(std::move(font));
    if (isDefault) m_nDefaultFont = static_cast<int>(m_fonts.size()) - 1;
}

const FontSpec& CPaintManagerUI::GetFont(int index) const {
    if (index >= 0 && index < GetFontCount()) return m_fonts[static_cast<std::size_t>(index)];
    if (m_nDefaultFont >= 0) return m_fonts[static_cast<std::size_t>(m_nDefaultFont)];
    return m_fallbackFont;
}

void CPaintManagerUI::AttachDialog(std::unique_ptr<CControlUI> root) {
    m_pRoot = std::move(root);
    m_names.clear();
    if (m_pRoot == nullptr) return;
    m_pRoot->SetManager(this, nullptr);
    m_pRoot->ForEach([this](CControlUI& control) {
        if (!control.GetName().empty()) m_names[control.GetName()] = &control;
    });
    Layout(m_window.size);
}

CControlUI* CPaintManagerUI::FindControl(const std::string& name) const {
    const auto it = m_names.find(name);
    return it == m_names.end() ? nullptr : it->second;
}

void CPaintManagerUI::Layout(UISize clientSize) {
    m_clientSize = clientSize;
    m_bNeedUpdate = false;
    if (m_pRoot != nullptr) m_pRoot->SetPos(UIRect{0, 0, clientSize.cx, clientSize.cy});
}

void CPaintManagerUI::NeedUpdate() {
    m_bNeedUpdate = true;
    Invalidate(UIRect{0, 0, m_clientSize.cx, m_clientSize.cy});
}

void CPaintManagerUI::EnsureLayout() {
    if (m_bNeedUpdate) Layout(m_clientSize);
}

void CPaintManagerUI::KeepDetachedControl(std::unique_ptr<CControlUI> control) {
    if (control != nullptr) m_detached.push_back(std::move(control));
}

void CPaintManagerUI::Invalidate(const UIRect& rect) {
    if (m_invalidate) m_invalidate(rect);
}

void CPaintManagerUI::AddNotifier(INotifyUI* notifier) {
    if (notifier != nullptr) m_notifiers.push_back(notifier);
}

void CPaintManagerUI::RemoveNotifier(INotifyUI* notifier) { std::erase(m_notifiers, notifier); }

void CPaintManagerUI::SendNotify(CControlUI* sender, const std::string& type) {
    TNotifyUI msg{type, sender};
    // A copy: a notifier may close the window, and with it unregister.
    const std::vector<INotifyUI*> notifiers = m_notifiers;
    for (INotifyUI* notifier : notifiers) notifier->Notify(msg);
}

}  // namespace uikit
