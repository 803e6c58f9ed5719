#pragma once
// Starting the game client with the player's login data.
#include "LaunchParameters.h"

#include <string>
#include <vector>

// The directory the game's uninstall entry records ("DisplayIcon" up to and including its
// last separator, every "\" read as "/"), or empty when there is none or it holds more than
// 259 characters.
std::wstring GetGameInstallDir(const std::wstring& keyName);

// Takes a fresh token and twext from the page's open-game request (JSON text), when it holds
// them as strings. False when the text is not JSON; a root that is not an object changes
// nothing and still counts as read.
bool ReadOpenGameRequest(const std::string& utf8Text, LaunchParameters& params);

// The game client's command line, one item per argument, in this order: "--source=" always,
// then "--tokenLogin=", "--token=", "--twext=", "--winid=" (the game-manager window),
// "--typeMode=", "--instGamePath=" and "--cacheGamePath=", each only when its value is not
// empty. Values are as they are: nothing quoted, nothing split.
std::vector<std::wstring> GameClientArguments(const LaunchParameters& params);
