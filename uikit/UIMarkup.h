#pragma once
// Builds a window's control tree from its layout markup.
#include "UIControl.h"
#include "UIManager.h"

#include <memory>
#include <string>
#include <string_view>

namespace uikit {

// Answers element names the framework does not know itself; null skips the element and
// its children.
class IDialogBuilderCallback {
public:
    virtual ~IDialogBuilderCallback() = default;
    virtual std::unique_ptr<CControlUI> CreateControl(std::string_view className) = 0;
};

// A control of a class built into the framework, or null for an unknown element name.
std::unique_ptr<CControlUI> CreateBuiltinControl(std::string_view className);

class CDialogBuilder {
public:
    // Reads the markup: the Window element's attributes and fonts go to the manager; each
    // other child of Window becomes a control: its children are built and added to it, then
    // it is added to its parent and given the manager, then its attributes are applied in
    // document order. Returns the first top-level control (the manager keeps the others),
    // or null with `error` set when the text is not a well-formed layout.
    std::unique_ptr<CControlUI> Create(std::string_view markup, CPaintManagerUI& manager,
                                       IDialogBuilderCallback* callback, std::string& error);
};

}  // namespace uikit
