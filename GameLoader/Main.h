#pragma once

// The launcher's start-up: log, single instance, command, main window and message loop.
// Returns 0 on every path.
int wWinMain();
