#include "CallCppFunc.h"

#include "CustomMessages.h"
#include "JsonText.h"
#include "Logger.h"

#include "Text.h"
#include "WindowMessaging.h"

BridgeFunction ReadBridgeCall(const std::string& utf8Text) {
    try {
        Json::Value root;
        if (!ParseJsonText(utf8Text, root) || !root.isObject()) return BridgeFunction::None;
        const Json::Value& name = root["funcation_name"];
        if (!name.isString()) return BridgeFunction::None;
        const std::string function = name.asString();
        if (function == "min_wnd") return BridgeFunction::MinimizeWindow;
        if (function == "close_wnd") return BridgeFunction::CloseWindow;
        if (function == "open_game") return BridgeFunction::OpenGame;
        if (function == "wnd_mousemove") return BridgeFunction::DragWindow;
    } catch (...) {
        // Outside JSON never ends the process.
    }
    return BridgeFunction::None;
}

void CallCppFunc(platform::HWND mainWindow, const std::wstring& text) {
    // The JSON library reads UTF-8; the open-game request travels in it too.
    const std::string narrow = platform::WideToUtf8(text);
    switch (ReadBridgeCall(narrow)) {
    case BridgeFunction::None: return;
    case BridgeFunction::MinimizeWindow:
        LOG_WRITE(0, L"min_wnd call");
        platform::PostMessageW(mainWindow, WM_LAUNCHER_MINIMIZE, 0, 0);
        return;
    case BridgeFunction::CloseWindow:
        LOG_WRITE(0, L"close_wnd call");
        platform::PostMessageW(mainWindow, WM_LAUNCHER_CLOSE, 0, 0);
        return;
    case BridgeFunction::OpenGame: {
        LOG_WRITE(0, L"open_game call");
        auto* request = new std::string(narrow);
        // From here the receiver owns the text; a message that cannot be posted gives it back.
        if (!platform::PostMessageW(mainWindow, WM_LAUNCHER_OPEN_GAME, reinterpret_cast<platform::WPARAM>(request), 0)) {
            delete request;
        }
        return;
    }
    case BridgeFunction::DragWindow:
        LOG_WRITE(0, L"wnd_mousemove call");
        platform::PostMessageW(mainWindow, WM_LAUNCHER_DRAG, 0, 0);
        return;
    }
}
