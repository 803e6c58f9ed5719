// Shows the launcher's message box over a launcher window on the desktop, for tests that
// drive it as a player would. Prints where the box is whenever it moves, then its result and
// whether the owner window was closed with it:
//   box-at=420,382
//   result=1 owner=closed
#include "CustomMsgBox.h"
#include "GameLoaderWnd.h"
#include "Logger.h"

#include "display/DisplayBackend.h"
#include "display/GtkDisplay.h"

#include "Text.h"
#include "WindowCore.h"
#include "WindowMessaging.h"

#include <cstdio>
#include <string>

namespace {

constexpr wchar_t kWatcherClass[] = L"MsgBoxHostWatcher";
constexpr std::uintptr_t kWatchTimer = 1;
constexpr std::uintptr_t kSettleTimer = 2;

platform::RECT g_lastSeen{};

// Samples the box's place; timers are served by the box's own loop as well.
platform::LRESULT WatcherProc(platform::HWND hwnd, platform::UINT message, platform::WPARAM wParam,
                              platform::LPARAM lParam) {
    if (message == platform::WM_TIMER && wParam == kWatchTimer) {
        const platform::HWND box = platform::FindWindowW(nullptr, L"CustomMsgBox");
        if (box == 0) return 0;
        const platform::RECT at = platform::GetWindowRect(box);
        if (at.left != g_lastSeen.left || at.top != g_lastSeen.top) {
            g_lastSeen = at;
            std::printf("box-at=%d,%d\n", at.left, at.top);
            std::fflush(stdout);
        }
        return 0;
    }
    if (message == platform::WM_TIMER && wParam == kSettleTimer) {
        platform::PostQuitMessage(0);
        return 0;
    }
    return platform::DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

int main(int argc, char** argv) {
    platform::InitProcessLocale();
    LogDir = "/nonexistent-log-dir/";  // the launcher's log stays off
    if (argc != 2) {
        std::fputs("usage: msgbox-host TEXT\n", stderr);
        return 2;
    }
    std::unique_ptr<uikit::IDisplayBackend> desktop = uikit::CreateGtkDisplay("msgbox-host");
    if (desktop == nullptr) {
        std::fprintf(stderr, "msgbox-host: no desktop (DISPLAY=%s)\n",
                     std::getenv("DISPLAY") != nullptr ? std::getenv("DISPLAY") : "");
        return 1;
    }
    uikit::SetDisplay(std::move(desktop));
    uikit::RegisterShadowWindowClass();
    platform::RegisterClassW(kWatcherClass, &WatcherProc);
    const platform::HWND watcher = platform::CreateWindowExW(0, kWatcherClass, L"", 0, 0, 0, 0, 0, 0, nullptr);
    platform::SetTimer(watcher, kWatchTimer, 10);

    auto* owner = new GameLoaderWnd(L"{}");  // deletes itself with its window
    const platform::HWND hwnd = owner->Create(0, L"Kaldrenmoor", 0x10CF0000, 0);
    if (hwnd == 0) return 1;
    owner->CenterWindow();
    platform::ShowWindow(hwnd, platform::SW_SHOWNORMAL);

    const int result = ShowMsgBox(hwnd, platform::AnsiToWide(argv[1]));
    // What the buttons posted to the owner is served before looking at it.
    platform::SetTimer(watcher, kSettleTimer, 300);
    platform::QueuedMSG message;
    while (platform::GetMessageW(&message) != 0) platform::DispatchMessageW(&message);
    std::printf("result=%d owner=%s\n", result, platform::IsWindow(hwnd) ? "open" : "closed");
    std::fflush(stdout);
    if (platform::IsWindow(hwnd)) platform::DestroyWindow(hwnd);
    return 0;
}
