// Renders a layout of the embedded skin package off screen, with its shadow, to a PNG:
//
//   skin-render LAYOUT OUT.png [--select NAME=INDEX] [--set NAME=VALUE] [--text NAME=TEXT]
//                              [--hot NAME] [--game-code CODE]
//
// --select picks a tab page, --set gives a progress bar its value, --text sets a control's
// text, --hot shows a button as under the mouse, --game-code sets the download page's
// background as the launcher does.
#include "DownloadBackground.h"

#include "SkinArchive.h"
#include "UIContainer.h"
#include "UILabel.h"
#include "UIMarkup.h"
#include "UIPaint.h"
#include "UIWebBrowser.h"

#include "Resources.h"

#include <cairo.h>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

class BrowserHost : public uikit::IDialogBuilderCallback {
public:
    std::unique_ptr<uikit::CControlUI> CreateControl(std::string_view className) override {
        return className == "IeBrowser" ? std::make_unique<uikit::CWebBrowserUI>() : nullptr;
    }
};

int Usage() {
    std::fputs("usage: skin-render LAYOUT OUT.png [--select NAME=INDEX] [--set NAME=VALUE] [--text NAME=TEXT]\n"
               "                   [--hot NAME] [--game-code CODE]\n",
               stderr);
    return 2;
}

bool SplitPair(const char* text, std::string& name, std::string& value) {
    const char* equals = std::strchr(text, '=');
    if (equals == nullptr) return false;
    name.assign(text, equals);
    value.assign(equals + 1);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return Usage();
    const auto package = platform::FindResource(L"ZIPRES", 130);
    uikit::CSkinArchive& archive = uikit::CSkinArchive::Current();
    if (!package || !archive.OpenMemory(package->data, package->size)) {
        std::fputs("skin-render: Error opening zip file\n", stderr);
        return 1;
    }
    std::string markup;
    std::string error;
    if (!archive.ReadEntry(argv[1], uikit::kMaxLayoutBytes, markup, error)) {
        std::fprintf(stderr, "skin-render: %s: %s\n", argv[1], error.c_str());
        return 1;
    }
    uikit::CPaintManagerUI manager;
    BrowserHost browserHost;
    manager.AttachDialog(uikit::CDialogBuilder().Create(markup, manager, &browserHost, error));
    if (manager.GetRoot() == nullptr) {
        std::fprintf(stderr, "skin-render: %s: %s\n", argv[1], error.c_str());
        return 1;
    }

    for (int i = 3; i < argc; ++i) {
        const std::string option = argv[i];
        if (i + 1 >= argc) return Usage();
        const char* argument = argv[++i];
        std::string name;
        std::string value;
        if (option == "--hot" || option == "--game-code") {
            name = argument;
        } else if (!SplitPair(argument, name, value)) {
            return Usage();
        }
        uikit::CControlUI* control = option == "--game-code" ? manager.FindControl("vLayoutDownload") : manager.FindControl(name);
        if (control == nullptr) {
            std::fprintf(stderr, "skin-render: no control named %s\n", option == "--game-code" ? "vLayoutDownload" : name.c_str());
            return 1;
        }
        if (option == "--select") {
            auto* tab = dynamic_cast<uikit::CTabLayoutUI*>(control);
            if (tab == nullptr || !tab->SelectItem(std::atoi(value.c_str()))) return Usage();
        } else if (option == "--set") {
            auto* progress = dynamic_cast<uikit::CProgressUI*>(control);
            if (progress == nullptr) return Usage();
            progress->SetValue(std::atoi(value.c_str()));
        } else if (option == "--text") {
            control->SetText(value);
        } else if (option == "--hot") {
            auto* button = dynamic_cast<uikit::CButtonUI*>(control);
            if (button == nullptr) return Usage();
            button->SetState(uikit::CButtonUI::State::Hot);
        } else if (option == "--game-code") {
            const std::string_view image = DownloadBackgroundFor(name);
            if (!image.empty()) control->SetBkImage(std::string(image));
        } else {
            return Usage();
        }
    }
    manager.Layout(manager.Window().size);

    cairo_surface_t* surface = uikit::RenderWindowWithShadow(manager, archive);
    const bool written = cairo_surface_write_to_png(surface, argv[2]) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    if (!written) {
        std::fprintf(stderr, "skin-render: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
