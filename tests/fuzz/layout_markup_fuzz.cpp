// Arbitrary layout markup and image strings: the reader builds a tree or reports an error,
// and laying the tree out never crashes.
#include "UIImageString.h"
#include "UIManager.h"
#include "UIMarkup.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    uikit::ParseImageString(text);
    uikit::CPaintManagerUI manager;
    std::string error;
    manager.AttachDialog(uikit::CDialogBuilder().Create(text, manager, nullptr, error));
    manager.Layout({960, 620});
    if (manager.GetRoot() != nullptr) manager.GetRoot()->FindControlAt(100, 100);
    return 0;
}
