#pragma once
// The notice the platform window receives when the game has ended or the player closed the
// launcher the platform started.
#include <string>

// Sends the notice to the window whose handle is the decimal text.
void NotifyPlatformWindow(const std::wstring& handleText);
