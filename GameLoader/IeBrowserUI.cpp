#include "IeBrowserUI.h"

#include "CallCppFunc.h"
#include "Logger.h"

#include "Resources.h"

namespace {

// The script object's source, embedded in the program (GameLoader/bridge/ScriptObject.js).
constexpr wchar_t kScriptResourceType[] = L"SCRIPT";
constexpr int kScriptObjectResource = 1;

}  // namespace

void CIeBrowserUI::OnEngineCreated() {
    if (platform::BrowserControl* browser = GetBrowser()) {
        if (const std::optional<platform::ResourceBytes> script = platform::FindResource(kScriptResourceType, kScriptObjectResource)) {
            browser->EnableScriptObject(std::string(static_cast<const char*>(script->data), script->size));
        }
    }
    uikit::CWebBrowserUI::OnEngineCreated();
}

void CIeBrowserUI::OnScriptCall(const platform::ScriptCall& call) {
    // A frame, or a page of another site the player followed a link to, starts nothing.
    if (!call.fromTopDocument || call.origin != m_strTrustedOrigin) {
        const std::wstring origin = call.origin + (call.fromTopDocument ? L"" : L" (frame)");
        if (m_loggedOrigins.insert(origin).second) LOG_WRITE(0, L"g_callCppFunc refused from " << origin);
        return;
    }
    if (call.argumentCount != 1 || !call.text) return;
    CallCppFunc(m_hMainWnd, *call.text);
}
