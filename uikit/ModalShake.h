#pragma once
// The modal registration of skinned windows and the shake of a modal box whose disabled
// owner is clicked. Process-wide, touched only on the user-interface thread.
#include "Messages.h"

namespace uikit {

// Sent to the owner with the modal window's handle in lParam: registers it as the current
// modal window, the one before becoming the previous.
constexpr platform::UINT WM_REGISTER_MODAL = 1624;
// Sent to a modal window to make it shake.
constexpr platform::UINT WM_SHAKE_MODAL = 1625;
constexpr std::uintptr_t kShakeTimer = 10;
constexpr platform::UINT kShakeTickMs = 80;
constexpr int kShakeTicks = 8;

void RegisterModalWindow(platform::HWND modal);
// The owner was clicked while disabled (WM_SETCURSOR with WM_LBUTTONDOWN): the modal window
// it owns is asked to shake.
void OnDisabledOwnerClicked(platform::HWND owner);
// The modal window starts its shake from where it rests.
void StartShake(platform::HWND modal);
// One tick of the shake timer: a pixel left and up, then right and down, eight times.
void OnShakeTick(platform::HWND modal);

}  // namespace uikit
