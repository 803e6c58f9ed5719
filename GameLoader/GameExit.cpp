#include "GameExit.h"

#include "JsonText.h"
#include "LogRedaction.h"
#include "Logger.h"
#include "PlatformNotice.h"
#include "PlatformSettings.h"

#include "Text.h"

namespace {

// The command as some game sides write it: not JSON, but meant as type 1.
bool IsLiteralGameExit(const std::wstring& cmdJson) { return cmdJson == L"type:1" || cmdJson == L"{type:1}"; }

}  // namespace

bool ReadGameExitType(const std::wstring& cmdJson, int& type) {
    type = 0;
    Json::Value root;
    // The JSON library reads UTF-8, whatever the locale's character set.
    if (!ParseJsonText(platform::WideToUtf8(cmdJson), root)) {
        if (!IsLiteralGameExit(cmdJson)) return false;
        type = 1;
        return true;
    }
    // A root that is not an object is no game-exit command.
    if (!root.isObject()) return true;
    const Json::Value& member = root["type"];
    if (member.isInt()) type = member.asInt();
    return true;
}

bool IsGameExit(const std::wstring& cmdJson) {
    try {
        LOG_WRITE(2, L"IsGameExit:" << RedactTokens(cmdJson));
        int type = 0;
        if (!ReadGameExitType(cmdJson, type)) {
            LOG_WRITE(0, L"reader.parse:" << RedactTokens(cmdJson) << L" false");
            return false;
        }
        if (IsLiteralGameExit(cmdJson)) {
            LOG_WRITE(0, L"reader.parse:" << RedactTokens(cmdJson) << L" false");
            LOG_WRITE(0, L"get type:1");
        }
        if (type != 1) return false;
    } catch (...) {
        return false;
    }
    LOG_WRITE(2, L"game exit notify:" << RedactTokens(cmdJson));
    const std::wstring settings = SettingsPath();
    std::wstring source;
    if (!GetLoginSource(settings, source) || source.empty()) return true;
    std::wstring window;
    if (GetPlatformWindowId(settings, window)) {
        LOG_WRITE(2, L"Tidewell wnd get");
        NotifyPlatformWindow(window);
    } else {
        LOG_WRITE(2, L"Tidewell wnd not get");
    }
    return true;
}
