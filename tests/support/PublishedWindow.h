#pragma once
#include "WindowMessaging.h"

#include <string>

// The handle of the window with this title once its process has published it; 0 when none
// appears within the time.
platform::HWND WaitForWindow(const std::wstring& title, int timeoutMs = 10000);
