#include "LauncherWindowModule.h"

#include "GameCode.h"
#include "GameLoaderWnd.h"
#include "Logger.h"

#include "Text.h"
#include "display/GtkDisplay.h"
#include "WindowCore.h"

namespace {

// WS_VISIBLE | WS_OVERLAPPEDWINDOW: the skin decides the real frame and size.
constexpr std::uint32_t kMainWindowStyle = 0x10CF0000;

}  // namespace

extern "C" __attribute__((visibility("default"))) int RunLauncherWindow(const wchar_t* cmdJson) {
    // Real windows when a desktop can be reached; otherwise they live off screen.
    if (std::unique_ptr<uikit::IDisplayBackend> desktop = uikit::CreateGtkDisplay()) uikit::SetDisplay(std::move(desktop));
    uikit::RegisterShadowWindowClass();
    auto* window = new GameLoaderWnd(cmdJson);
    const platform::HWND hwnd = window->Create(0, platform::AnsiToWide(kWindowTitle), kMainWindowStyle, 0);
    if (hwnd == 0) {
        LOG_WRITE(0, L"create main window false:" << platform::AnsiToWide(platform::LastWindowError()));
        delete window;
        return 0;
    }
    window->CenterWindow();
    if (platform::IsWindow(hwnd)) platform::ShowWindow(hwnd, platform::SW_HIDE);

    platform::QueuedMSG message;
    while (platform::GetMessageW(&message) != 0) {
        if (platform::PreTranslateMessage(message)) continue;
        platform::TranslateMessage(&message);
        platform::DispatchMessageW(&message);
    }
    return 0;
}
