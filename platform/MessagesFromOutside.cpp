#include "MessagesFromOutside.h"

#include <algorithm>
#include <array>

namespace platform {
namespace {

// The system's messages whose wParam or lParam points to memory of the sender (a creation
// record, a text, a rectangle, a structure to fill in), and the ones the core alone sends
// while it creates, moves, shows and destroys a window. WM_COPYDATA is not here: its bytes
// travel in the frame and the receiver builds the descriptor itself.
constexpr std::array<UINT, 40> kNeverFromOutside = {
    0x0001,  // WM_CREATE
    0x0002,  // WM_DESTROY
    0x0003,  // WM_MOVE
    0x0005,  // WM_SIZE
    0x000C,  // WM_SETTEXT
    0x000D,  // WM_GETTEXT
    0x0018,  // WM_SHOWWINDOW
    0x001A,  // WM_SETTINGCHANGE
    0x001B,  // WM_DEVMODECHANGE
    0x0024,  // WM_GETMINMAXINFO
    0x002B,  // WM_DRAWITEM
    0x002C,  // WM_MEASUREITEM
    0x002D,  // WM_DELETEITEM
    0x0039,  // WM_COMPAREITEM
    0x0046,  // WM_WINDOWPOSCHANGING
    0x0047,  // WM_WINDOWPOSCHANGED
    0x004E,  // WM_NOTIFY
    0x0053,  // WM_HELP
    0x007C,  // WM_STYLECHANGING
    0x007D,  // WM_STYLECHANGED
    0x0081,  // WM_NCCREATE
    0x0082,  // WM_NCDESTROY
    0x0083,  // WM_NCCALCSIZE
    0x0087,  // WM_GETDLGCODE
    0x0214,  // WM_SIZING
    0x0216,  // WM_MOVING
    0x0220,  // WM_MDICREATE
    0x0233,  // WM_DROPFILES
    0x0282,  // WM_IME_NOTIFY
    0x0283,  // WM_IME_CONTROL
    0x0284,  // WM_IME_COMPOSITIONFULL
    0x0288,  // WM_IME_REQUEST
    0x030B,  // WM_SIZECLIPBOARD
    0x030D,  // WM_PAINTCLIPBOARD
    0x0310,  // WM_ASKCBFORMATNAME
    0x0317,  // WM_PRINT
    0x0318,  // WM_PRINTCLIENT
    0x0113,  // WM_TIMER: its lParam may name a callback
    0x0119,  // WM_GESTURE
    0x011A,  // WM_GESTURENOTIFY
};

}  // namespace

bool IsDeliverableFromOtherProcess(UINT message) {
    return std::find(kNeverFromOutside.begin(), kNeverFromOutside.end(), message) == kNeverFromOutside.end();
}

}  // namespace platform
