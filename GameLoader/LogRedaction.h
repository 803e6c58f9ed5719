#pragma once
#include <string>
#include <string_view>

// A login token does not belong in a plain-text log. Every log line that quotes a text from
// outside (an argument, the JSON command text, a request of the page) quotes it through
// this function. The string value of every JSON member that the JSON reader takes for
// "token" (escapes decoded, comments skipped) becomes "<redacted, N chars>", N being the
// token's length in characters; in a text that is not JSON, the value of its "--token="
// option, which runs to the end of the text, is redacted the same way.
std::wstring RedactTokens(std::wstring_view text);
