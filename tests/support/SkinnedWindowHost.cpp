// Creates one skinned window from the layout named on the command line, as a launcher
// window would be, and ends; for tests of what happens when a layout cannot be built.
#include "WindowImplBase.h"

#include "Text.h"

#include <cstdio>

namespace {

class HostWindow : public uikit::WindowImplBase {
public:
    explicit HostWindow(std::wstring layout) : m_strLayout(std::move(layout)) {}
    const wchar_t* GetWindowClassName() const override { return L"SkinnedWindowHost"; }
    std::wstring GetSkinFolder() const override { return L""; }
    std::wstring GetSkinFile() const override { return m_strLayout; }
    int GetResourceID() const override { return 130; }

private:
    std::wstring m_strLayout;
};

}  // namespace

int main(int argc, char** argv) {
    platform::InitProcessLocale();
    if (argc != 2) return 2;
    HostWindow window(platform::AnsiToWide(argv[1]));
    const platform::HWND hwnd = window.Create(0, L"host", 0, 0);
    std::printf("created=%d\n", hwnd != 0);
    return 0;
}
