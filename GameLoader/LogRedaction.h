#pragma once
#include <string>
#include <string_view>

// A login token does not belong in a plain-text log. Returns the text with the value of
// every "--token=" option and of every JSON member "token" replaced by
// "<redacted, N chars>". An option value runs to the end of the text, or to the end of
// the JSON string it stands in.
std::wstring RedactSecrets(std::wstring_view text);
