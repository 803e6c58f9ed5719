#pragma once
// The game-exit start: the game side starts the launcher with this command when the game has
// ended, and that start only tells the platform window.
#include <string>

// True when the command text is the game-exit command ({"type":1}, or the texts "type:1" and
// "{type:1}"); the platform window named in the settings file has then been told, when the
// settings file holds a login source.
bool IsGameExit(const std::wstring& cmdJson);

// The command's type: the integer member "type" of a JSON object (an integral number that
// fits 32 bits), 1 for the two literal texts, 0 otherwise. False when the text is neither JSON
// nor one of them.
bool ReadGameExitType(const std::wstring& cmdJson, int& type);
