#pragma once
// Opening an address in the user's default web browser: the one way any part of the
// system hands a page to a browser of the desktop.
#include <string>
#include <string_view>

namespace platform {

// True for an http or https address, by GLib's URI parser, with a host that is not empty and
// no control, space or separator character anywhere; never for file:, custom schemes, bare
// paths or text beginning with "-".
bool IsWebAddress(std::wstring_view address);

// Hands a web address to the desktop's default handler for its scheme (never a shell or a
// command line built from the text). Anything but a web address is refused. On failure
// `error` says why.
bool OpenInDefaultBrowser(const std::wstring& address, std::string* error = nullptr);

}  // namespace platform
