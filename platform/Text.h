#pragma once
// Text conversions between the UTF-16 text of the system (std::wstring in code) and the
// narrow text of a code page. The system "ANSI" code page is the process locale's character
// set (read by InitProcessLocale; in a library whose host never calls it, the host's locale
// at the moment of the call); the thread's code page is the calling thread's locale. A
// locale that only knows ASCII counts as UTF-8, as it does on modern desktops.
#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

enum CodePage : std::uint32_t {
    CP_ACP = 0,
    CP_THREAD_ACP = 3,
    CP_UTF8 = 65001,
};

// Adopts the user's locale for the whole process; call once at the start of main.
void InitProcessLocale();

// Narrow text in the system ANSI code page to UTF-16. Empty in, empty out.
std::wstring AnsiToWide(std::string_view text);

// Narrow text of the given code page to UTF-16. A byte sequence that is not valid in
// the code page becomes U+FFFD.
std::wstring MultiByteToWide(CodePage codePage, std::string_view text);

// UTF-16 to narrow text of the given code page. A character that the code page cannot
// hold becomes "?".
std::string WideToMultiByte(CodePage codePage, std::wstring_view text);

// Replaces, left to right, every occurrence of `search` by `replacement`, resuming after
// each inserted replacement. An empty search text changes nothing.
void ReplaceAll(std::wstring& text, std::wstring_view search, std::wstring_view replacement);

std::string WideToUtf8(std::wstring_view text);
std::wstring Utf8ToWide(std::string_view text);

// UTF-16 code units of a text, for the places where the design counts units or lays out
// bytes.
std::u16string WideToUtf16(std::wstring_view text);

// The leading signed decimal number of a text: optional white space and sign, then
// digits up to the first other character; 0 when no number begins the text. Values
// beyond the 32-bit range saturate.
std::int32_t ParseLeadingInt32(std::wstring_view text);

// Window handles travel as decimal text; this is the conversion every user applies.
inline std::int32_t HandleFromText(std::wstring_view text) { return ParseLeadingInt32(text); }

}  // namespace platform
