#include "GameStart.h"

#include "CustomMessages.h"
#include "GameLoaderWnd.h"
#include "InstallRegistration.h"
#include "JsonText.h"
#include "LogRedaction.h"
#include "Logger.h"

#include "Directories.h"
#include "Process.h"
#include "Text.h"
#include "WindowCore.h"

std::wstring GetGameInstallDir(const std::wstring& keyName) {
    std::wstring directory = ReadUninstallString(keyName, L"DisplayIcon");
    // Written with either separator; read with the system's own.
    platform::ReplaceAll(directory, L"\\", L"/");
    const std::size_t separator = directory.rfind(platform::kPathSeparator);
    if (separator != std::wstring::npos) directory.resize(separator + 1);
    return directory;
}

std::vector<std::wstring> GameClientArguments(const LaunchParameters& params) {
    std::vector<std::wstring> arguments = {L"--source=" + params.m_strSource};
    const std::pair<const wchar_t*, const std::wstring*> items[] = {
        {L"--tokenLogin=", &params.m_strTokenLogin},
        {L"--token=", &params.m_strToken},
        {L"--twext=", &params.m_strTwExt},
        {L"--winid=", &params.m_strGameMgrId},
        {L"--typeMode=", &params.m_strTypeMode},
        {L"--instGamePath=", &params.m_strInstGamePath},
        {L"--cacheGamePath=", &params.m_strCacheGamePath},
    };
    for (const auto& [option, value] : items) {
        if (!value->empty()) arguments.push_back(option + *value);
    }
    return arguments;
}

void GameLoaderWnd::BuildGameExePath() {
    std::wstring path = GetGameInstallDir(m_strGameCode);
    if (path.empty()) path = platform::GetModuleDir() + platform::kPathSeparator;
    m_strGameExePath = path + m_strGameCode;
}

void GameLoaderWnd::LoadGame() {
    LOG_WRITE(2, L"GameLoaderWnd LoadGame start");
    if (m_params.m_strToken.empty()) return;
    const platform::HWND gameManager = platform::HandleFromText(m_params.m_strGameMgrId);
    if (!platform::PathFileExistsW(m_strGameExePath)) {
        LOG_WRITE(2, L"PathFileExists " << m_strGameExePath << L" not exists");
        platform::PostMessageW(gameManager, WM_GAMEMGR_START_FAILED, 0, 0);
        if (platform::IsWindow(GetHWND())) platform::PostMessageW(GetHWND(), platform::WM_CLOSE, 1, 0);
        return;
    }
    if (platform::IsWindow(GetHWND())) platform::ShowWindow(GetHWND(), platform::SW_HIDE);
    std::vector<std::string> arguments;
    for (const std::wstring& argument : GameClientArguments(m_params)) {
        arguments.push_back(platform::WideToMultiByte(platform::CP_ACP, argument));
    }
    std::string error;
    if (!platform::SpawnDetached(platform::WideToMultiByte(platform::CP_ACP, m_strGameExePath), arguments, &error)) {
        LOG_WRITE(0, L"start game client false:" << platform::AnsiToWide(error));
        platform::PostMessageW(gameManager, WM_GAMEMGR_START_FAILED, 0, 0);
    }
    if (platform::IsWindow(GetHWND())) platform::PostMessageW(GetHWND(), platform::WM_CLOSE, 1, 0);
}

bool ReadOpenGameRequest(const std::string& utf8Text, LaunchParameters& params) {
    try {
        Json::Value root;
        if (!ParseJsonText(utf8Text, root)) return false;
        const std::pair<const char*, std::wstring LaunchParameters::*> members[] = {
            {"token", &LaunchParameters::m_strToken}, {"twext", &LaunchParameters::m_strTwExt}};
        for (const auto& [key, member] : members) {
            if (root.isMember(key) && root[key].isString()) params.*member = platform::Utf8ToWide(root[key].asString());
        }
    } catch (...) {
        // A root that is not an object has no members: the game starts with what it has.
    }
    return true;
}

void GameLoaderWnd::OnOpenGame(std::string* request) {
    const std::string text = request != nullptr ? *request : std::string();
    delete request;
    if (!ReadOpenGameRequest(text, m_params)) {
        LOG_WRITE(0, L"reader.parse:" << RedactTokens(platform::Utf8ToWide(text)) << L" false");
        return;
    }
    LoadGame();
}
