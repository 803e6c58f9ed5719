#pragma once
// The launcher's command line as one JSON command text.
#include "CommandLine.h"

#include <json/value.h>
#include <string>

// When the argument holds `prefix` anywhere, sets object[key] to the JSON string made of
// the rest of the argument after the first occurrence, and returns true.
bool SetOptionFromArg(const std::wstring& argument, Json::Value& object, const wchar_t* prefix, const char* key);

// Turns the command line into the JSON command text: a single argument is taken as it is
// (only --installed= is folded into an object); otherwise every known --key=value option
// becomes a string member of one object. False only when the command line cannot be split;
// the output is then left as it was.
bool ParseCmdParam(std::wstring& output, const std::wstring& commandLine = platform::GetCommandLineW());
