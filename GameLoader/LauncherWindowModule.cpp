#include "LauncherWindowModule.h"

#include "GameCode.h"
#include "GameLoaderWnd.h"
#include "Logger.h"

#include "BrowserControl.h"
#include "Directories.h"
#include "Resources.h"
#include "Text.h"
#include "UIWebBrowser.h"
#include "WindowCore.h"
#include "display/GtkDisplay.h"

namespace {

// WS_VISIBLE | WS_OVERLAPPEDWINDOW: the skin decides the real frame and size.
constexpr std::uint32_t kMainWindowStyle = 0x10CF0000;
// The stand-in game site's certificate, embedded only by a build whose site is that stand-in.
constexpr wchar_t kCertificateResource[] = L"CERT";
constexpr char kStandInSiteHost[] = "127.0.0.1";

// The launcher's browser keeps its cookies, storage and cache in folders of its own under the
// user's folders, and trusts the stand-in site's own certificate where the build names it.
void SetUpBrowsing() {
    const std::string name = platform::GetModuleBaseName();
    platform::BrowserProfile profile;
    const std::wstring data = platform::GetLocalAppDataDir();
    const std::wstring cache = platform::GetUserCacheDir();
    if (!data.empty()) profile.dataFolder = platform::WideToMultiByte(platform::CP_ACP, data) + "/" + name;
    if (!cache.empty()) profile.cacheFolder = platform::WideToMultiByte(platform::CP_ACP, cache) + "/" + name;
    if (const std::optional<platform::ResourceBytes> certificate = platform::FindResource(kCertificateResource, 1)) {
        profile.trustedCertificatePem.assign(static_cast<const char*>(certificate->data), certificate->size);
        profile.trustedCertificateHost = kStandInSiteHost;
    }
    platform::SetBrowserProfile(profile);
    uikit::SetBrowserFactory(&platform::BrowserControl::Create);
}

}  // namespace

extern "C" __attribute__((visibility("default"))) int RunLauncherWindow(const wchar_t* cmdJson) {
    // Real windows when a desktop can be reached; otherwise they live off screen.
    if (std::unique_ptr<uikit::IDisplayBackend> desktop = uikit::CreateGtkDisplay(kLauncherProgram)) {
        uikit::SetDisplay(std::move(desktop));
    }
    SetUpBrowsing();
    uikit::RegisterShadowWindowClass();
    auto* window = new GameLoaderWnd(cmdJson);
    const platform::HWND hwnd = window->Create(0, platform::AnsiToWide(kWindowTitle), kMainWindowStyle, 0);
    if (hwnd == 0) {
        LOG_WRITE(0, L"create main window false:" << platform::AnsiToWide(platform::LastWindowError()));
        delete window;
        return 0;
    }
    window->CenterWindow();
    if (platform::IsWindow(hwnd)) platform::ShowWindow(hwnd, platform::SW_HIDE);

    platform::QueuedMSG message;
    while (platform::GetMessageW(&message) != 0) {
        if (platform::PreTranslateMessage(message)) continue;
        platform::TranslateMessage(&message);
        platform::DispatchMessageW(&message);
    }
    return 0;
}
