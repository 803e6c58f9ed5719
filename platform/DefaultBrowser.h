#pragma once
// Opening an address in the user's default web browser: the one way any part of the
// system hands a page to a browser of the desktop.
#include <string>
#include <string_view>

namespace platform {

// True for an http or https address with a host; never for file:, custom schemes, bare
// paths or text beginning with "-".
bool IsWebAddress(std::wstring_view address);

// Hands a web address to the desktop's default handler for its scheme (never a shell or a
// command line built from the text). Anything but a web address is refused.
bool OpenInDefaultBrowser(const std::wstring& address);

}  // namespace platform
