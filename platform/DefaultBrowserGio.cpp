#include "DefaultBrowser.h"

#include "Text.h"

#include <gio/gio.h>

namespace platform {
namespace {

// Characters no handler should ever see in an address: they end it, split it or hide a part
// of it from the person who reads it.
bool IsInvisibleOrBreaking(wchar_t c) {
    if (c < 0 || c > 0x10FFFF) return true;
    switch (g_unichar_type(static_cast<gunichar>(c))) {
    case G_UNICODE_CONTROL:
    case G_UNICODE_FORMAT:
    case G_UNICODE_SURROGATE:
    case G_UNICODE_SPACE_SEPARATOR:
    case G_UNICODE_LINE_SEPARATOR:
    case G_UNICODE_PARAGRAPH_SEPARATOR: return true;
    default: return c == L' ';
    }
}

}  // namespace

bool IsWebAddress(std::wstring_view address) {
    if (address.empty() || address.front() == L'-') return false;
    for (const wchar_t c : address) {
        if (IsInvisibleOrBreaking(c)) return false;
    }
    GUri* uri = g_uri_parse(WideToUtf8(address).c_str(), G_URI_FLAGS_NONE, nullptr);
    if (uri == nullptr) return false;
    const char* scheme = g_uri_get_scheme(uri);
    const char* host = g_uri_get_host(uri);
    const bool web = scheme != nullptr && (g_ascii_strcasecmp(scheme, "http") == 0 || g_ascii_strcasecmp(scheme, "https") == 0) &&
                     host != nullptr && host[0] != '\0';
    g_uri_unref(uri);
    return web;
}

bool OpenInDefaultBrowser(const std::wstring& address, std::string* error) {
    if (!IsWebAddress(address)) {
        if (error != nullptr) *error = "not a web address";
        return false;
    }
    GError* failure = nullptr;
    const bool launched = g_app_info_launch_default_for_uri(WideToUtf8(address).c_str(), nullptr, &failure);
    if (failure != nullptr) {
        if (error != nullptr) *error = failure->message;
        g_error_free(failure);
    }
    return launched;
}

}  // namespace platform
