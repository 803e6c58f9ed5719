#pragma once
#include <string>

// Records, for the executable name, the browser emulation level that matches the installed
// browser's major version (8, 9, 10 or 11) under the current user's feature-control key.
// The key is never created; an empty name writes its unnamed default value. Every failure
// ends the call quietly.
void ChangeBrowserEmulation(const std::wstring& executableName);

// The level for a major version of the browser; 0 when there is none.
unsigned EmulationLevelFor(int majorVersion);
