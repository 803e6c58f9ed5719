#pragma once
// Crafted message frames from another process: every window message number, with the
// parameters an attacker would choose (addresses, all bits set, the edges of their types),
// posted and sent, and WM_COPYDATA frames in the shapes a sender could forge.
#include "Messages.h"

#include <set>

// Writes the frames straight to the window owner's message socket, past every check a
// well-behaved sender makes. The numbers left out are messages whose meaning is to close
// the window or to act on other processes; their handling is tested on its own. Returns
// how many frames could not be delivered.
int SendHostileFrames(platform::HWND hwnd, const std::set<platform::UINT>& leftOut, platform::UINT lastMessage = 0x13FF);

// True when the window's owner still serves its message loop: a sent message comes back.
bool StillAnswers(platform::HWND hwnd);
