#include "PublishedWindow.h"

#include <chrono>
#include <thread>

platform::HWND WaitForWindow(const std::wstring& title, int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        if (const platform::HWND hwnd = platform::FindWindowW(nullptr, title)) return hwnd;
        if (std::chrono::steady_clock::now() >= deadline) return 0;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}
