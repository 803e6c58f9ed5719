// Arbitrary addresses, as a page's new-window request may carry them, through the check that
// decides what reaches the default browser.
#include "DefaultBrowser.h"
#include "Text.h"

#include <cstdlib>
#include <cwctype>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const std::wstring address = platform::Utf8ToWide(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!platform::IsWebAddress(address)) return 0;
    // What passes is one token of a web scheme that no handler can take for an option.
    if (address.front() == L'-') std::abort();
    for (const wchar_t c : address) {
        if (c < 0x21 || c == 0x7F || (c >= 0x80 && c <= 0xA0) || c == 0x2028 || c == 0x2029) std::abort();
    }
    std::wstring scheme = address.substr(0, address.find(L':'));
    for (wchar_t& c : scheme) c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
    if (scheme != L"http" && scheme != L"https") std::abort();
    return 0;
}
