#include "Text.h"

#include <cerrno>
#include <clocale>
#include <cwctype>
#include <iconv.h>
#include <langinfo.h>
#include <limits>
#include <optional>

namespace platform {
namespace {

constexpr wchar_t kReplacementChar = 0xFFFD;

// A locale's character set. ASCII-only locales ("C", "POSIX") count as UTF-8 so that file
// names and messages outside ASCII survive the round trip.
struct LocaleCharset {
    std::string name = "UTF-8";
    bool isUtf8 = true;
};

bool IsUtf8Name(std::string_view name) {
    return name == "UTF-8" || name == "utf8" || name == "UTF8" || name == "ANSI_X3.4-1968" ||
           name == "ASCII" || name == "US-ASCII";
}

LocaleCharset CharsetNamed(const char* name) {
    LocaleCharset charset;
    charset.isUtf8 = name == nullptr || IsUtf8Name(name);
    if (!charset.isUtf8) charset.name = name;
    return charset;
}

// The process locale's character set, once InitProcessLocale has read it.
std::optional<LocaleCharset>& ProcessCharset() {
    static std::optional<LocaleCharset> charset;
    return charset;
}

// The character set a code page stands for. The thread's code page is the calling thread's
// locale at this moment; the system's is the one read at start, or, in a library whose host
// never called InitProcessLocale, the host's locale at this moment.
LocaleCharset CharsetOf(CodePage codePage) {
    if (codePage == CP_UTF8) return LocaleCharset{};
    if (codePage == CP_ACP && ProcessCharset()) return *ProcessCharset();
    return CharsetNamed(nl_langinfo(CODESET));
}

bool IsValidScalar(char32_t c) { return c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF); }

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Decodes one UTF-8 sequence at text[i]; returns its length, or 0 when it is invalid.
std::size_t DecodeUtf8(std::string_view text, std::size_t i, char32_t& out) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    std::size_t length;
    char32_t c;
    if (lead < 0x80) {
        out = lead;
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        c = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        c = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        c = lead & 0x07;
    } else {
        return 0;
    }
    if (i + length > text.size()) return 0;
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) return 0;
        c = (c << 6) | (byte(i + k) & 0x3F);
    }
    const char32_t minimum = length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000;
    if (c < minimum || !IsValidScalar(c)) return 0;
    out = c;
    return length;
}

std::string WideToIconv(const std::string& charset, std::wstring_view text) {
    iconv_t cd = iconv_open(charset.c_str(), "WCHAR_T");
    if (cd == reinterpret_cast<iconv_t>(-1)) return WideToUtf8(text);
    std::string out;
    char buffer[16];
    for (wchar_t c : text) {
        char* in = reinterpret_cast<char*>(&c);
        std::size_t inLeft = sizeof(c);
        char* outPtr = buffer;
        std::size_t outLeft = sizeof(buffer);
        if (iconv(cd, &in, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1)) {
            out += '?';
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        } else {
            out.append(buffer, outPtr);
        }
    }
    iconv_close(cd);
    return out;
}

std::wstring IconvToWide(const std::string& charset, std::string_view text) {
    iconv_t cd = iconv_open("WCHAR_T", charset.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1)) return Utf8ToWide(text);
    std::wstring out;
    char* in = const_cast<char*>(text.data());
    std::size_t inLeft = text.size();
    while (inLeft > 0) {
        wchar_t buffer[64];
        char* outPtr = reinterpret_cast<char*>(buffer);
        std::size_t outLeft = sizeof(buffer);
        const std::size_t result = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        out.append(buffer, reinterpret_cast<wchar_t*>(outPtr));
        if (result == static_cast<std::size_t>(-1) && errno != E2BIG) {
            // An invalid or truncated sequence: replace one byte and carry on.
            out += kReplacementChar;
            ++in;
            --inLeft;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    iconv_close(cd);
    return out;
}

}  // namespace

void InitProcessLocale() {
    // Only the character set matters to the conversions; loading the other categories
    // would cost every start a few dozen file opens.
    std::setlocale(LC_CTYPE, "");
    ProcessCharset() = CharsetNamed(nl_langinfo(CODESET));
}

std::string WideToUtf8(std::wstring_view text) {
    std::string out;
    out.reserve(text.size());
    for (wchar_t c : text) {
        const auto scalar = static_cast<char32_t>(c);
        if (IsValidScalar(scalar)) {
            AppendUtf8(out, scalar);
        } else {
            out += '?';
        }
    }
    return out;
}

std::wstring Utf8ToWide(std::string_view text) {
    std::wstring out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        char32_t c;
        const std::size_t length = DecodeUtf8(text, i, c);
        if (length == 0) {
            out += kReplacementChar;
            ++i;
        } else {
            out += static_cast<wchar_t>(c);
            i += length;
        }
    }
    return out;
}

std::wstring MultiByteToWide(CodePage codePage, std::string_view text) {
    if (text.empty()) return {};
    const LocaleCharset charset = CharsetOf(codePage);
    if (charset.isUtf8) return Utf8ToWide(text);
    return IconvToWide(charset.name, text);
}

std::wstring AnsiToWide(std::string_view text) { return MultiByteToWide(CP_ACP, text); }

std::string WideToMultiByte(CodePage codePage, std::wstring_view text) {
    if (text.empty()) return {};
    const LocaleCharset charset = CharsetOf(codePage);
    if (charset.isUtf8) return WideToUtf8(text);
    return WideToIconv(charset.name, text);
}

void ReplaceAll(std::wstring& text, std::wstring_view search, std::wstring_view replacement) {
    if (search.empty()) return;
    std::size_t position = 0;
    while ((position = text.find(search, position)) != std::wstring::npos) {
        text.replace(position, search.size(), replacement);
        position += replacement.size();
    }
}

std::u16string WideToUtf16(std::wstring_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (wchar_t c : text) {
        auto scalar = static_cast<char32_t>(c);
        if (!IsValidScalar(scalar)) scalar = kReplacementChar;
        if (scalar >= 0x10000) {
            scalar -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (scalar >> 10));
            out += static_cast<char16_t>(0xDC00 + (scalar & 0x3FF));
        } else {
            out += static_cast<char16_t>(scalar);
        }
    }
    return out;
}

std::int32_t ParseLeadingInt32(std::wstring_view text) {
    std::size_t i = 0;
    while (i < text.size() && std::iswspace(static_cast<wint_t>(text[i]))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) {
        negative = text[i] == L'-';
        ++i;
    }
    constexpr std::int64_t kLimit = static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::max()) + 1;
    std::int64_t value = 0;
    for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
        value = value * 10 + (text[i] - L'0');
        if (value > kLimit) value = kLimit;
    }
    if (negative) return static_cast<std::int32_t>(-value);
    return static_cast<std::int32_t>(value > std::numeric_limits<std::int32_t>::max()
                                         ? std::numeric_limits<std::int32_t>::max()
                                         : value);
}

}  // namespace platform
