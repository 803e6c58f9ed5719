#pragma once
// One call of the page's script bridge: window.external.g_callCppFunc with a JSON text that
// names the function to run. Each call only posts a message to the main window, so the
// action runs after the script call has returned.
#include "Messages.h"

#include <string>

enum class BridgeFunction { None, MinimizeWindow, CloseWindow, OpenGame, DragWindow };

// What a call text asks for: "funcation_name" of a JSON object (comments allowed), compared
// exactly. None for a text that does not parse, a root that is not an object, a name that is
// missing or not a string, or one of no function.
BridgeFunction ReadBridgeCall(const std::string& utf8Text);

// Handles a call for the main window: logs the function's line and posts its message; the
// open-game text goes with its message in a heap string that the receiver owns. A call of
// no function is ignored silently.
void CallCppFunc(platform::HWND mainWindow, const std::wstring& text);
