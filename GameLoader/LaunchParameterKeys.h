#pragma once
// The ten launch parameters, in the fixed order in which options are matched and JSON
// members are read.

struct LaunchParameterKey {
    const char* key;
    const wchar_t* prefix;
};

inline constexpr LaunchParameterKey kLaunchParameterKeys[] = {
    {"winid", L"--winid="},
    {"source", L"--source="},
    {"tokenLogin", L"--tokenLogin="},
    {"token", L"--token="},
    {"twext", L"--twext="},
    {"installed", L"--installed="},
    {"gameMgrId", L"--gameMgrId="},
    {"typeMode", L"--typeMode="},
    {"instGamePath", L"--instGamePath="},
    {"cacheGamePath", L"--cacheGamePath="},
};
