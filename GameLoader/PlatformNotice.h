#pragma once
// The notice the platform window receives when the game has ended or the player closed the
// launcher the platform started: a 528-byte record by WM_COPYDATA, data tag 1.
#include <array>
#include <cstdint>
#include <string>

constexpr std::size_t kPlatformNoticeBytes = 528;
constexpr std::uintptr_t kPlatformNoticeTag = 1;

// 1 (32-bit little-endian), "1" in 260 UTF-16 units filled with zeros, 1.
std::array<unsigned char, kPlatformNoticeBytes> PlatformNotice();

// Sends the notice to the window whose handle is the decimal text, and waits until the window
// has handled it, at most the core's send time-out.
void NotifyPlatformWindow(const std::wstring& handleText);
