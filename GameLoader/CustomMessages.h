#pragma once
#include "Messages.h"

// Messages the launcher window receives; values travel in wParam.
constexpr platform::UINT WM_LAUNCHER_TRAY = 1126;
constexpr platform::UINT WM_LAUNCHER_SHOW = 1128;
constexpr platform::UINT WM_LAUNCHER_MINIMIZE = 1129;
constexpr platform::UINT WM_LAUNCHER_CLOSE = 1130;
constexpr platform::UINT WM_LAUNCHER_OPEN_GAME = 1131;
constexpr platform::UINT WM_LAUNCHER_DRAG = 1132;
constexpr platform::UINT WM_LAUNCHER_ACTIVATE = 1133;
constexpr platform::UINT WM_LAUNCHER_UNPACKED = 1134;
constexpr platform::UINT WM_LAUNCHER_KILL_GAME = 1135;
constexpr platform::UINT WM_LAUNCHER_PROGRESS = 1136;
constexpr platform::UINT WM_LAUNCHER_NET_ERROR = 1137;

// Messages the launcher posts to the platform's game-manager window.
constexpr platform::UINT WM_GAMEMGR_START_FAILED = 1347;
constexpr platform::UINT WM_GAMEMGR_LAUNCHER_STARTED = 1348;
