#pragma once
// "setting.xml": the values a launcher started by the platform leaves for the launcher
// that the game side starts later. Every operation loads, changes and saves the whole file.
#include <string>

// The settings file in the platform folder of the local application data folder; the
// platform folder is created when missing.
std::wstring SettingsPath();

bool SetPlatformWindowId(const std::wstring& value, const std::wstring& path);
bool GetPlatformWindowId(const std::wstring& path, std::wstring& output);
bool SetLoginSource(const std::wstring& value, const std::wstring& path);
bool GetLoginSource(const std::wstring& path, std::wstring& output);
