#pragma once
// The address of the game's start page, built from the launch parameters.
#include "LaunchParameters.h"

#include <string>

// "https://" + the game site's host + "/client/index/vornakel"; the host is the build
// setting VK_GAME_SITE.
std::wstring GameSiteBaseAddress();
// scheme://host[:port] of the game site, as the browser states a document's origin.
std::wstring GameSiteOrigin();

// The base address, then "?fileparam=" (or "&fileparam=" when the base already holds a "?")
// and the file parameter, always; then "&token=", "&source=", "&twext=" and "&tokenLogin="
// with their values, each only when not empty. Nothing is percent-encoded.
std::wstring BuildStartAddress(std::wstring_view baseAddress, const std::wstring& fileParam, const LaunchParameters& params);
