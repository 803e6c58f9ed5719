#pragma once
// Window handles, messages and their parameters.
#include <cstdint>

namespace platform {

// A window handle: a positive number, unique within the user's session and valid across
// its processes; 0 names no window.
using HWND = std::int32_t;
using UINT = std::uint32_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;

struct MSG {
    HWND hwnd = 0;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

// The payload of WM_COPYDATA. A receiver in another process gets its own copy of the
// bytes; lParam of the message then points to a descriptor built by the receiver.
struct COPYDATASTRUCT {
    std::uintptr_t dwData = 0;
    std::uint32_t cbData = 0;
    const void* lpData = nullptr;
};

constexpr UINT WM_NULL = 0x0000;
constexpr UINT WM_CREATE = 0x0001;
constexpr UINT WM_DESTROY = 0x0002;
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_QUIT = 0x0012;
constexpr UINT WM_SHOWWINDOW = 0x0018;
constexpr UINT WM_COPYDATA = 0x004A;
constexpr UINT WM_NCDESTROY = 0x0082;
constexpr UINT WM_TIMER = 0x0113;
constexpr UINT WM_USER = 0x0400;

constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_SHOWMINIMIZED = 2;
constexpr int SW_SHOWMAXIMIZED = 3;
constexpr int SW_SHOWNOACTIVATE = 4;
constexpr int SW_SHOW = 5;
constexpr int SW_MINIMIZE = 6;
constexpr int SW_SHOWMINNOACTIVE = 7;
constexpr int SW_SHOWNA = 8;
constexpr int SW_RESTORE = 9;

constexpr std::uint32_t WS_VISIBLE = 0x10000000;

// How long a message sent to a window of another process may take before the sender
// gives up: a hung receiver never hangs the sender.
constexpr int kSendMessageTimeoutMs = 3000;

}  // namespace platform
