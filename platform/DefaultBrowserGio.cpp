#include "DefaultBrowser.h"

#include "Text.h"

#include <gio/gio.h>

namespace platform {

bool IsWebAddress(std::wstring_view address) {
    std::wstring lower(address.substr(0, 8));
    for (wchar_t& c : lower) c = static_cast<wchar_t>(c >= L'A' && c <= L'Z' ? c - L'A' + L'a' : c);
    std::size_t hostStart = 0;
    if (lower.starts_with(L"http://")) hostStart = 7;
    else if (lower.starts_with(L"https://")) hostStart = 8;
    else return false;
    // A host must follow, and the address must be one token a handler cannot take for options.
    if (address.size() <= hostStart || address[hostStart] == L'/' || address[hostStart] == L'?' || address[hostStart] == L'#') {
        return false;
    }
    return address.find_first_of(L" \t\r\n") == std::wstring_view::npos;
}

bool OpenInDefaultBrowser(const std::wstring& address) {
    if (!IsWebAddress(address)) return false;
    GError* error = nullptr;
    const bool launched = g_app_info_launch_default_for_uri(WideToUtf8(address).c_str(), nullptr, &error);
    if (error != nullptr) g_error_free(error);
    return launched;
}

}  // namespace platform
