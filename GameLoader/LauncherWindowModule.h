#pragma once
// The launcher's windowed half lives in a module of its own, loaded only when a window is
// needed, so the window-less starts never load the UI libraries.

inline constexpr char kLauncherWindowModule[] = "vornakel_main_ui.so";
inline constexpr char kRunLauncherWindowSymbol[] = "RunLauncherWindow";

// Creates the main window hidden for the command JSON text and runs the message loop until
// the window is gone. Returns 0.
extern "C" int RunLauncherWindow(const wchar_t* cmdJson);
using RunLauncherWindowFunction = int (*)(const wchar_t*);
