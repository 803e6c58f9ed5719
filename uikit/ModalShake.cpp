#include "ModalShake.h"

#include "WindowCore.h"
#include "WindowMessaging.h"

namespace uikit {
namespace {

struct ModalState {
    platform::HWND current = 0;
    platform::HWND previous = 0;
    int shakeCount = 0;
    platform::HWND lastShaken = 0;
};

ModalState& State() {
    static ModalState state;
    return state;
}

void MoveBy(platform::HWND hwnd, int dx, int dy) {
    const platform::RECT rect = platform::GetWindowRect(hwnd);
    platform::MoveWindow(hwnd, rect.left + dx, rect.top + dy, rect.right - rect.left, rect.bottom - rect.top);
}

}  // namespace

void RegisterModalWindow(platform::HWND modal) {
    ModalState& state = State();
    if (state.current != 0 && platform::IsWindow(state.current)) state.previous = state.current;
    state.current = modal;
}

void OnDisabledOwnerClicked(platform::HWND owner) {
    const ModalState& state = State();
    if (platform::IsWindow(state.current) && platform::GetParent(state.current) == owner) {
        platform::SendMessageW(state.current, WM_SHAKE_MODAL, 0, 0);
    } else if (platform::IsWindow(state.previous) && platform::GetParent(state.previous) == owner) {
        platform::SendMessageW(platform::IsWindow(state.current) ? state.current : state.previous, WM_SHAKE_MODAL, 0, 0);
    }
}

void StartShake(platform::HWND modal) {
    ModalState& state = State();
    for (const platform::HWND registered : {state.current, state.previous}) {
        if (registered != 0) platform::KillTimer(registered, kShakeTimer);
    }
    // A shake cut short halfway through a step goes back to its rest first.
    if (state.shakeCount > 0 && state.shakeCount % 2 == 1 && platform::IsWindow(state.lastShaken)) MoveBy(state.lastShaken, 1, 1);
    state.shakeCount = 0;
    platform::SetTimer(modal, kShakeTimer, kShakeTickMs);
}

void OnShakeTick(platform::HWND modal) {
    ModalState& state = State();
    if (!platform::IsWindow(modal)) return;
    state.lastShaken = modal;
    ++state.shakeCount;
    if (state.shakeCount % 2 == 1) {
        MoveBy(modal, -1, -1);
    } else {
        MoveBy(modal, 1, 1);
    }
    if (state.shakeCount == kShakeTicks) {
        state.shakeCount = 0;
        platform::ShowWindow(modal, platform::SW_SHOW);
        platform::KillTimer(modal, kShakeTimer);
    }
}

}  // namespace uikit
