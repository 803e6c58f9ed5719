#pragma once
// An embedded web browser inside a window of the window core, shown where the window's
// display offers a native surface for children.
#include "BrowserProfile.h"
#include "Messages.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace platform {

// The statuses of failed navigations: the server or proxy could not be found or reached, a
// file that is not there, text that is no address, an address of no known scheme, and
// every other failure.
constexpr std::int32_t INET_E_INVALID_URL = static_cast<std::int32_t>(0x800C0002);
constexpr std::int32_t INET_E_RESOURCE_NOT_FOUND = static_cast<std::int32_t>(0x800C0005);
constexpr std::int32_t INET_E_OBJECT_NOT_FOUND = static_cast<std::int32_t>(0x800C0006);
constexpr std::int32_t INET_E_DOWNLOAD_FAILURE = static_cast<std::int32_t>(0x800C0008);
constexpr std::int32_t INET_E_UNKNOWN_PROTOCOL = static_cast<std::int32_t>(0x800C000D);

// A call of the page's script object (see BrowserControl::EnableScriptObject).
struct ScriptCall {
    // True only for a call from the top-level document; a frame's call is false.
    bool fromTopDocument = false;
    // scheme://host[:port] of the document that called: the browser's own record of the
    // top-level document; for a frame, what the frame says of itself (only for the log).
    std::wstring origin;
    int argumentCount = 0;
    // The one argument as text (a string as it is, anything else as the script would write
    // it); none for null or undefined, or when there was not exactly one argument.
    std::optional<std::wstring> text;
};

// What the browser reports while it loads pages. Cancelling a new window only means that
// nothing else opens it: the control itself never opens a second browser window.
class IBrowserEvents {
public:
    virtual ~IBrowserEvents() = default;
    virtual void OnBeforeNavigate(const std::wstring& url, bool& cancel) {}
    virtual void OnNavigateComplete(const std::wstring& url) {}
    virtual void OnDocumentComplete(const std::wstring& url) {}
    // status: an HTTP status of 400 or more, or one of the INET_E_ statuses. The page that
    // shows then (the server's or the browser's own error page) completes as a document.
    virtual void OnNavigateError(const std::wstring& url, std::int32_t status) {}
    virtual void OnNewWindow(const std::wstring& url, bool& cancel) {}
    virtual void OnScriptCall(const ScriptCall& call) {}
};

class BrowserControl {
public:
    // A browser inside the host window; null when the window is not on a desktop.
    static std::unique_ptr<BrowserControl> Create(HWND host, IBrowserEvents& events);
    virtual ~BrowserControl() = default;

    // Position and size in the host window's client coordinates.
    virtual void SetRect(int x, int y, int width, int height) = 0;
    virtual void SetVisible(bool visible) = 0;
    virtual void Navigate(const std::wstring& url) = 0;
    // Optical zoom: text and images together, in percent.
    virtual void SetZoomPercent(int percent) = 0;
    virtual int GetZoomPercent() const = 0;
    // Silent: no dialogs of the browser's own (script alerts, permission prompts).
    virtual void SetSilent(bool silent) = 0;
    // Gives the pages `script`: the source of the page's script object, which reaches the
    // browser through the channel "@CHANNEL@" with a value of "@NONCE@", both filled in here.
    // The top-level document runs it with a secret of this browser as its nonce, every frame
    // with an empty one; each call arrives as OnScriptCall.
    virtual void EnableScriptObject(const std::string& script) = 0;
};

}  // namespace platform
