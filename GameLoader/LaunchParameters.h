#pragma once
// The launch parameter record and its ten keys, in the fixed order in which command-line
// options are matched and JSON members are read. The window fills the record from the JSON
// command text; the window-less start folds the options into that text by the same table.
#include <cstdint>
#include <string>

struct LaunchParameters {
    std::wstring m_strWinId;
    std::wstring m_strSource;
    std::wstring m_strTokenLogin;
    std::wstring m_strToken;
    std::wstring m_strTwExt;
    std::int32_t m_nGameInstalled = 0;
    std::wstring m_strGameMgrId;
    std::wstring m_strTypeMode;
    std::wstring m_strInstGamePath;
    std::wstring m_strCacheGamePath;
};

struct LaunchParameterKey {
    const char* key;
    const wchar_t* prefix;
    // The text member the key fills; null for "installed", which fills the number.
    std::wstring LaunchParameters::*member;
};

inline constexpr LaunchParameterKey kLaunchParameterKeys[] = {
    {"winid", L"--winid=", &LaunchParameters::m_strWinId},
    {"source", L"--source=", &LaunchParameters::m_strSource},
    {"tokenLogin", L"--tokenLogin=", &LaunchParameters::m_strTokenLogin},
    {"token", L"--token=", &LaunchParameters::m_strToken},
    {"twext", L"--twext=", &LaunchParameters::m_strTwExt},
    {"installed", L"--installed=", nullptr},
    {"gameMgrId", L"--gameMgrId=", &LaunchParameters::m_strGameMgrId},
    {"typeMode", L"--typeMode=", &LaunchParameters::m_strTypeMode},
    {"instGamePath", L"--instGamePath=", &LaunchParameters::m_strInstGamePath},
    {"cacheGamePath", L"--cacheGamePath=", &LaunchParameters::m_strCacheGamePath},
};
