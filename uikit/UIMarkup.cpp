#include "UIMarkup.h"

#include "UIContainer.h"
#include "UILabel.h"
#include "UIWebBrowser.h"

#include "XmlSafety.h"

#include <functional>
#include <tinyxml.h>
#include <unordered_map>

namespace uikit {
namespace {

using Factory = std::function<std::unique_ptr<CControlUI>()>;

template <typename Control>
Factory Make() {
    return [] { return std::make_unique<Control>(); };
}

const std::unordered_map<std::string_view, Factory>& Builtins() {
    static const std::unordered_map<std::string_view, Factory> builtins = {
        {"Control", Make<CControlUI>()},
        {"Label", Make<CLabelUI>()},
        {"Button", Make<CButtonUI>()},
        {"Progress", Make<CProgressUI>()},
        {"VerticalLayout", Make<CVerticalLayoutUI>()},
        {"HorizontalLayout", Make<CHorizontalLayoutUI>()},
        {"TabLayout", Make<CTabLayoutUI>()},
        {"ActiveX", Make<CActiveXUI>()},
        {"WebBrowser", Make<CWebBrowserUI>()},
    };
    return builtins;
}

void ApplyFont(const TiXmlElement& element, CPaintManagerUI& manager) {
    FontSpec font;
    bool isDefault = false;
    for (const TiXmlAttribute* attribute = element.FirstAttribute(); attribute != nullptr; attribute = attribute->Next()) {
        const std::string_view name = attribute->Name();
        const std::string_view value = attribute->Value();
        if (name == "name") font.name = std::string(value);
        if (name == "size") font.size = ParseInt(value);
        if (name == "bold") font.bold = ParseBool(value);
        if (name == "underline") font.underline = ParseBool(value);
        if (name == "italic") font.italic = ParseBool(value);
        if (name == "default") isDefault = ParseBool(value);
    }
    manager.AddFont(std::move(font), isDefault);
}

// Builds the element's control in the markup's order: its children first, each added to
// it; then the control is added to its parent and given the window's manager; then its
// attributes are applied in document order, so an attribute that acts at once (a browser
// created by delaycreate) finds the control in its place. A top-level control (no parent)
// is handed back; an element no one knows is skipped with its children.
std::unique_ptr<CControlUI> BuildControl(const TiXmlElement& element, CContainerUI* parent, CPaintManagerUI& manager,
                                         IDialogBuilderCallback* callback) {
    const std::string_view className = element.Value();
    std::unique_ptr<CControlUI> control = CreateBuiltinControl(className);
    if (control == nullptr && callback != nullptr) control = callback->CreateControl(className);
    if (control == nullptr) return nullptr;

    if (auto* container = dynamic_cast<CContainerUI*>(control.get())) {
        for (const TiXmlElement* child = element.FirstChildElement(); child != nullptr; child = child->NextSiblingElement()) {
            BuildControl(*child, container, manager, callback);
        }
    }
    CControlUI* built = control.get();
    if (parent != nullptr) parent->Add(std::move(control));
    built->SetManager(&manager, parent);
    for (const TiXmlAttribute* attribute = element.FirstAttribute(); attribute != nullptr; attribute = attribute->Next()) {
        built->SetAttribute(attribute->Name(), attribute->Value());
    }
    return control;
}

}  // namespace

std::unique_ptr<CControlUI> CreateBuiltinControl(std::string_view className) {
    const auto& builtins = Builtins();
    const auto it = builtins.find(className);
    return it == builtins.end() ? nullptr : it->second();
}

std::unique_ptr<CControlUI> CDialogBuilder::Create(std::string_view markup, CPaintManagerUI& manager,
                                                   IDialogBuilderCallback* callback, std::string& error) {
    // Deeper documents would exhaust the stack of the recursive XML reader.
    if (platform::MaxElementNesting(markup) > platform::kMaxXmlNesting) {
        error = "Nesting too deep";
        return nullptr;
    }
    TiXmlDocument document;
    document.Parse(platform::PaddedForXmlParser(markup).c_str(), nullptr, TIXML_ENCODING_UTF8);
    if (document.Error()) {
        error = document.ErrorDesc();
        return nullptr;
    }
    const TiXmlElement* window = document.RootElement();
    if (window == nullptr || std::string_view(window->Value()) != "Window") {
        error = "The root element is not Window";
        return nullptr;
    }
    for (const TiXmlAttribute* attribute = window->FirstAttribute(); attribute != nullptr; attribute = attribute->Next()) {
        manager.SetWindowAttribute(attribute->Name(), attribute->Value());
    }
    std::unique_ptr<CControlUI> root;
    for (const TiXmlElement* child = window->FirstChildElement(); child != nullptr; child = child->NextSiblingElement()) {
        if (std::string_view(child->Value()) == "Font") {
            ApplyFont(*child, manager);
            continue;
        }
        // Every other child becomes a control; the first is the window's tree.
        std::unique_ptr<CControlUI> control = BuildControl(*child, nullptr, manager, callback);
        if (root == nullptr) {
            root = std::move(control);
        } else {
            manager.KeepDetachedControl(std::move(control));
        }
    }
    if (root == nullptr) error = "No control in the layout";
    return root;
}

}  // namespace uikit
