#include "BrowserControl.h"

#include "NativeChildSurfaceGtk.h"
#include "Text.h"
#include "WindowCore.h"

#include <webkit2/webkit2.h>
#include <cmath>

namespace platform {
namespace {

constexpr char kScriptChannel[] = "vornakelScriptObject";

// The context every browser of the process shares: the profile's folders and trust, or the
// toolkit's defaults when no profile was set.
WebKitWebContext* SharedContext() {
    static WebKitWebContext* context = [] {
        LockBrowserProfile();
        const BrowserProfile* profile = CurrentBrowserProfile();
        if (profile == nullptr) return webkit_web_context_get_default();
        WebKitWebsiteDataManager* data = webkit_website_data_manager_new(
            "base-data-directory", profile->dataFolder.empty() ? nullptr : profile->dataFolder.c_str(),
            "base-cache-directory", profile->cacheFolder.empty() ? nullptr : profile->cacheFolder.c_str(), nullptr);
        WebKitWebContext* shared = webkit_web_context_new_with_website_data_manager(data);
        g_object_unref(data);
        if (!profile->trustedCertificatePem.empty()) {
            GTlsCertificate* certificate =
                g_tls_certificate_new_from_pem(profile->trustedCertificatePem.c_str(), -1, nullptr);
            if (certificate != nullptr) {
                webkit_web_context_allow_tls_certificate_for_host(shared, certificate,
                                                                  profile->trustedCertificateHost.c_str());
                g_object_unref(certificate);
            }
        }
        return shared;
    }();
    return context;
}

// Cookies reach the disk only once the first page loads, so a suppression before that keeps
// every cookie of the process in memory.
void ChooseCookieStorage() {
    static bool chosen = false;
    if (chosen) return;
    chosen = true;
    const BrowserProfile* profile = CurrentBrowserProfile();
    if (profile == nullptr || profile->dataFolder.empty() || PersistentCookiesSuppressed()) return;
    webkit_cookie_manager_set_persistent_storage(webkit_web_context_get_cookie_manager(SharedContext()),
                                                 (profile->dataFolder + "/cookies.sqlite").c_str(),
                                                 WEBKIT_COOKIE_PERSISTENT_STORAGE_SQLITE);
}

// scheme://host[:port] of an address, as a browser compares origins; empty when it has none.
std::wstring OriginOf(const gchar* address) {
    if (address == nullptr) return {};
    GUri* uri = g_uri_parse(address, G_URI_FLAGS_NONE, nullptr);
    if (uri == nullptr) return {};
    std::string origin;
    if (g_uri_get_scheme(uri) != nullptr && g_uri_get_host(uri) != nullptr) {
        origin = std::string(g_uri_get_scheme(uri)) + "://" + g_uri_get_host(uri);
        if (g_uri_get_port(uri) > 0) origin += ":" + std::to_string(g_uri_get_port(uri));
    }
    g_uri_unref(uri);
    return Utf8ToWide(origin);
}

std::string ReplacedAll(std::string text, std::string_view search, const std::string& replacement) {
    for (std::size_t at = text.find(search); at != std::string::npos; at = text.find(search, at + replacement.size())) {
        text.replace(at, search.size(), replacement);
    }
    return text;
}

// A secret of one browser, so that only its top-level document's script object is believed.
std::string NewNonce() {
    char text[33];
    for (int i = 0; i < 32; i += 8) std::snprintf(text + i, 9, "%08x", g_random_int());
    return std::string(text, 32);
}

std::string PropertyText(JSCValue* object, const char* name) {
    JSCValue* value = jsc_value_object_get_property(object, name);
    std::string text;
    if (value != nullptr && jsc_value_is_string(value)) {
        char* raw = jsc_value_to_string(value);
        text = raw != nullptr ? raw : "";
        g_free(raw);
    }
    if (value != nullptr) g_object_unref(value);
    return text;
}

std::wstring UriOf(const gchar* uri) { return Utf8ToWide(uri != nullptr ? uri : ""); }

// The status a failed load reports: a server or proxy that cannot be found or reached is
// INET_E_RESOURCE_NOT_FOUND; the other failures have statuses of their own.
std::int32_t NavigateErrorStatus(const GError* error) {
    if (error->domain == G_RESOLVER_ERROR ||
        g_error_matches(error, WEBKIT_NETWORK_ERROR, WEBKIT_NETWORK_ERROR_TRANSPORT)) {
        return INET_E_RESOURCE_NOT_FOUND;
    }
    if (error->domain == G_IO_ERROR) {
        switch (error->code) {
        case G_IO_ERROR_CONNECTION_REFUSED:
        case G_IO_ERROR_HOST_NOT_FOUND:
        case G_IO_ERROR_HOST_UNREACHABLE:
        case G_IO_ERROR_NETWORK_UNREACHABLE:
        case G_IO_ERROR_TIMED_OUT:
        case G_IO_ERROR_PROXY_FAILED:
        case G_IO_ERROR_PROXY_NOT_ALLOWED:
        case G_IO_ERROR_PROXY_AUTH_FAILED:
        case G_IO_ERROR_PROXY_NEED_AUTH: return INET_E_RESOURCE_NOT_FOUND;
        default: break;
        }
    }
    if (g_error_matches(error, WEBKIT_NETWORK_ERROR, WEBKIT_NETWORK_ERROR_FILE_DOES_NOT_EXIST) ||
        g_error_matches(error, G_IO_ERROR, G_IO_ERROR_NOT_FOUND)) {
        return INET_E_OBJECT_NOT_FOUND;
    }
    if (g_error_matches(error, WEBKIT_POLICY_ERROR, WEBKIT_POLICY_ERROR_CANNOT_SHOW_URI)) return INET_E_INVALID_URL;
    if (g_error_matches(error, WEBKIT_NETWORK_ERROR, WEBKIT_NETWORK_ERROR_UNKNOWN_PROTOCOL))
        return INET_E_UNKNOWN_PROTOCOL;
    return INET_E_DOWNLOAD_FAILURE;
}

class WebKitBrowserControl final : public BrowserControl {
public:
    WebKitBrowserControl(GtkWidget* container, IBrowserEvents& events) : m_events(events) {
        m_view = WEBKIT_WEB_VIEW(webkit_web_view_new_with_context(SharedContext()));
        g_object_ref_sink(m_view);
        // Pages may ask for new windows from script; every such request reaches OnNewWindow.
        WebKitSettings* settings = webkit_web_view_get_settings(m_view);
        webkit_settings_set_javascript_can_open_windows_automatically(settings, TRUE);
        // One page drawn without the GPU compositor: about 60 MiB less for the process tree, and
        // no slower to show; script, images, video and web fonts work as before.
        webkit_settings_set_hardware_acceleration_policy(settings, WEBKIT_HARDWARE_ACCELERATION_POLICY_NEVER);
        gtk_fixed_put(GTK_FIXED(container), GTK_WIDGET(m_view), 0, 0);
        g_signal_connect(m_view, "decide-policy", G_CALLBACK(&WebKitBrowserControl::OnDecidePolicy), this);
        g_signal_connect(m_view, "create", G_CALLBACK(&WebKitBrowserControl::OnCreate), this);
        g_signal_connect(m_view, "load-changed", G_CALLBACK(&WebKitBrowserControl::OnLoadChanged), this);
        g_signal_connect(m_view, "load-failed", G_CALLBACK(&WebKitBrowserControl::OnLoadFailed), this);
        g_signal_connect(m_view, "script-dialog", G_CALLBACK(&WebKitBrowserControl::OnScriptDialog), this);
        g_signal_connect(m_view, "permission-request", G_CALLBACK(&WebKitBrowserControl::OnPermissionRequest), this);
    }

    ~WebKitBrowserControl() override {
        // Disconnect first, so no callback runs during destruction.
        g_signal_handlers_disconnect_by_data(m_view, this);
        g_signal_handlers_disconnect_by_data(webkit_web_view_get_user_content_manager(m_view), this);
        GtkWidget* parent = gtk_widget_get_parent(GTK_WIDGET(m_view));
        if (parent != nullptr) gtk_container_remove(GTK_CONTAINER(parent), GTK_WIDGET(m_view));
        g_object_unref(m_view);
    }

    void SetRect(int x, int y, int width, int height) override {
        GtkWidget* parent = gtk_widget_get_parent(GTK_WIDGET(m_view));
        if (parent != nullptr) gtk_fixed_move(GTK_FIXED(parent), GTK_WIDGET(m_view), x, y);
        gtk_widget_set_size_request(GTK_WIDGET(m_view), width, height);
    }

    void SetVisible(bool visible) override {
        if (visible) {
            gtk_widget_show(GTK_WIDGET(m_view));
        } else {
            gtk_widget_hide(GTK_WIDGET(m_view));
        }
    }

    void Navigate(const std::wstring& url) override {
        ChooseCookieStorage();
        webkit_web_view_load_uri(m_view, WideToUtf8(url).c_str());
    }

    void SetZoomPercent(int percent) override {
        // Setting the level, even to the one in force, costs the page's process memory.
        if (GetZoomPercent() != percent) webkit_web_view_set_zoom_level(m_view, percent / 100.0);
    }

    int GetZoomPercent() const override {
        return static_cast<int>(std::lround(webkit_web_view_get_zoom_level(m_view) * 100.0));
    }

    void SetSilent(bool silent) override { m_bSilent = silent; }

    void EnableScriptObject(const std::string& script) override {
        if (!m_strNonce.empty()) return;
        m_strNonce = NewNonce();
        WebKitUserContentManager* content = webkit_web_view_get_user_content_manager(m_view);
        g_signal_connect(content, (std::string("script-message-received::") + kScriptChannel).c_str(),
                         G_CALLBACK(&WebKitBrowserControl::OnScriptMessage), this);
        webkit_user_content_manager_register_script_message_handler(content, kScriptChannel);
        const std::string withChannel = ReplacedAll(script, "@CHANNEL@", kScriptChannel);
        // The top-level document's copy holds the secret; the frames' copy reports their calls
        // as frame calls.
        for (const auto& [frames, nonce] : {std::pair{WEBKIT_USER_CONTENT_INJECT_TOP_FRAME, m_strNonce},
                                            std::pair{WEBKIT_USER_CONTENT_INJECT_ALL_FRAMES, std::string()}}) {
            WebKitUserScript* user =
                webkit_user_script_new(ReplacedAll(withChannel, "@NONCE@", nonce).c_str(), frames,
                                       WEBKIT_USER_SCRIPT_INJECT_AT_DOCUMENT_START, nullptr, nullptr);
            webkit_user_content_manager_add_script(content, user);
            webkit_user_script_unref(user);
        }
    }

private:
    static gboolean OnDecidePolicy(WebKitWebView*, WebKitPolicyDecision* decision, WebKitPolicyDecisionType type,
                                   gpointer data) {
        auto* self = static_cast<WebKitBrowserControl*>(data);
        if (type != WEBKIT_POLICY_DECISION_TYPE_NAVIGATION_ACTION &&
            type != WEBKIT_POLICY_DECISION_TYPE_NEW_WINDOW_ACTION) {
            return FALSE;
        }
        WebKitNavigationAction* action =
            webkit_navigation_policy_decision_get_navigation_action(WEBKIT_NAVIGATION_POLICY_DECISION(decision));
        const std::wstring url = UriOf(webkit_uri_request_get_uri(webkit_navigation_action_get_request(action)));
        bool cancel = false;
        if (type == WEBKIT_POLICY_DECISION_TYPE_NEW_WINDOW_ACTION) {
            self->m_events.OnNewWindow(url, cancel);
            webkit_policy_decision_ignore(decision);  // never a second window of our own
            return TRUE;
        }
        self->m_events.OnBeforeNavigate(url, cancel);
        if (!cancel) return FALSE;
        webkit_policy_decision_ignore(decision);
        return TRUE;
    }

    // window.open and the like.
    static GtkWidget* OnCreate(WebKitWebView*, WebKitNavigationAction* action, gpointer data) {
        auto* self = static_cast<WebKitBrowserControl*>(data);
        bool cancel = false;
        self->m_events.OnNewWindow(UriOf(webkit_uri_request_get_uri(webkit_navigation_action_get_request(action))),
                                   cancel);
        return nullptr;
    }

    static void OnLoadChanged(WebKitWebView* view, WebKitLoadEvent event, gpointer data) {
        auto* self = static_cast<WebKitBrowserControl*>(data);
        const std::wstring url = UriOf(webkit_web_view_get_uri(view));
        if (event == WEBKIT_LOAD_COMMITTED) {
            self->m_events.OnNavigateComplete(url);
            WebKitWebResource* resource = webkit_web_view_get_main_resource(view);
            WebKitURIResponse* response = resource != nullptr ? webkit_web_resource_get_response(resource) : nullptr;
            const guint status = response != nullptr ? webkit_uri_response_get_status_code(response) : 0;
            if (status >= 400) self->m_events.OnNavigateError(url, static_cast<std::int32_t>(status));
        }
        // An error page completes as a document too, as the system's control reports it.
        if (event == WEBKIT_LOAD_FINISHED) {
            if (self->m_bSkipNextFinish) {
                self->m_bSkipNextFinish = false;
            } else {
                self->m_events.OnDocumentComplete(url);
            }
        }
    }

    static gboolean OnLoadFailed(WebKitWebView*, WebKitLoadEvent, gchar* uri, GError* error, gpointer data) {
        auto* self = static_cast<WebKitBrowserControl*>(data);
        // A load replaced by another, or stopped on purpose, is no error.
        if (g_error_matches(error, WEBKIT_NETWORK_ERROR, WEBKIT_NETWORK_ERROR_CANCELLED) ||
            g_error_matches(error, WEBKIT_POLICY_ERROR, WEBKIT_POLICY_ERROR_FRAME_LOAD_INTERRUPTED_BY_POLICY_CHANGE)) {
            self->m_bSkipNextFinish = true;
            return FALSE;
        }
        // The failed load finishes before the error page loads; only the page completes.
        self->m_bSkipNextFinish = true;
        self->m_events.OnNavigateError(UriOf(uri), NavigateErrorStatus(error));
        return FALSE;  // the browser shows its own error page
    }

    static void OnScriptMessage(WebKitUserContentManager*, WebKitJavascriptResult* result, gpointer data) {
        auto* self = static_cast<WebKitBrowserControl*>(data);
        JSCValue* message = webkit_javascript_result_get_js_value(result);
        if (!jsc_value_is_object(message)) return;
        ScriptCall call;
        call.fromTopDocument = PropertyText(message, "nonce") == self->m_strNonce;
        // The top-level document's origin is the browser's own record, never the page's word.
        call.origin = call.fromTopDocument ? OriginOf(webkit_web_view_get_uri(self->m_view))
                                           : Utf8ToWide(PropertyText(message, "origin"));
        JSCValue* count = jsc_value_object_get_property(message, "count");
        if (count != nullptr && jsc_value_is_number(count)) call.argumentCount = jsc_value_to_int32(count);
        if (count != nullptr) g_object_unref(count);
        JSCValue* text = jsc_value_object_get_property(message, "text");
        if (call.argumentCount == 1 && text != nullptr && jsc_value_is_string(text)) {
            char* raw = jsc_value_to_string(text);
            call.text = Utf8ToWide(raw != nullptr ? raw : "");
            g_free(raw);
        }
        if (text != nullptr) g_object_unref(text);
        self->m_events.OnScriptCall(call);
    }

    static gboolean OnScriptDialog(WebKitWebView*, WebKitScriptDialog*, gpointer data) {
        return static_cast<WebKitBrowserControl*>(data)->m_bSilent;
    }

    static gboolean OnPermissionRequest(WebKitWebView*, WebKitPermissionRequest* request, gpointer data) {
        if (!static_cast<WebKitBrowserControl*>(data)->m_bSilent) return FALSE;
        webkit_permission_request_deny(request);
        return TRUE;
    }

    IBrowserEvents& m_events;
    WebKitWebView* m_view = nullptr;
    bool m_bSilent = false;
    bool m_bSkipNextFinish = false;
    std::string m_strNonce;
};

}  // namespace

std::unique_ptr<BrowserControl> BrowserControl::Create(HWND host, IBrowserEvents& events) {
    const NativeChildSurface* surface = GetWindowNativeSurface(host);
    if (surface == nullptr || surface->container == nullptr) return nullptr;
    return std::make_unique<WebKitBrowserControl>(surface->container, events);
}

}  // namespace platform
