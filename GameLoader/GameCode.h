#pragma once
// Names fixed by the game and the platform.

// Names the game client, the launcher, its single-instance mutex and the uninstall key.
inline constexpr char kGameCode[] = "vornakel";
// The launcher window's title, by which a second launcher finds the first.
inline constexpr char kWindowTitle[] = "Kaldrenmoor";
inline constexpr char kMutexName[] = "vornakel_main.exe";
// The launcher's program name, and the window class its windows have on the desktop.
inline constexpr char kLauncherProgram[] = "vornakel_main";
// The platform's folder under the local application data folder.
inline constexpr wchar_t kPlatformFolder[] = L"Tidewell";
