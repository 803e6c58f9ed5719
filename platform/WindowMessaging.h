#pragma once
// Finding windows and sending them messages, wherever in the session they live. Windows
// of other processes are reached through their owner's message socket with plain system
// calls, so a process that never creates a window never loads the window core.
#include "Messages.h"

#include <string>

namespace platform {

// The window core of this process, when it is loaded; it serves its own windows.
class LocalWindowSystem {
public:
    virtual ~LocalWindowSystem() = default;
    virtual bool IsLocalWindow(HWND hwnd) = 0;
    virtual bool PostLocal(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) = 0;
    virtual LRESULT SendLocal(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) = 0;
};

void InstallLocalWindowSystem(LocalWindowSystem* system);

// The newest top-level window with exactly this title, hidden ones included; className
// may be null. 0 when there is none.
HWND FindWindowW(const wchar_t* className, const std::wstring& windowName);
bool IsWindow(HWND hwnd);

// Queues the message for the window. False when there is no such window or it cannot be
// reached. WM_COPYDATA cannot be posted.
bool PostMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Delivers the message and returns the window's result; 0 when it cannot be delivered or
// a window of another process does not answer within kSendMessageTimeoutMs. For
// WM_COPYDATA lParam points to a COPYDATASTRUCT whose bytes travel with the message.
LRESULT SendMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// The same with an explicit time-out for a window of another process; false when the
// message was not delivered and answered in time.
bool SendMessageTimeoutW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, int timeoutMs,
                         LRESULT* result);

// Where the message socket of the given name lives.
std::string MessageSocketPath(const std::string& socketName);

}  // namespace platform
