// Stands in for the platform side: a platform window that prints what it receives, and the
// small commands the platform's programs use to find and message windows.
//
//   tidewell-sim window [--title TEXT]   prints "hwnd=N", then one line per message
//   tidewell-sim find TITLE              prints the handle, exit 1 when there is none
//   tidewell-sim post HWND MSG [WPARAM [LPARAM]]
#include "Text.h"
#include "WindowCore.h"
#include "WindowMessaging.h"

#include <charconv>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

namespace {

constexpr wchar_t kClassName[] = L"TidewellSimWindow";
constexpr char kDefaultTitle[] = "Tidewell";

int Usage() {
    std::fputs("usage: tidewell-sim window [--title TEXT]\n"
               "       tidewell-sim find TITLE\n"
               "       tidewell-sim post HWND MSG [WPARAM [LPARAM]]\n",
               stderr);
    return 2;
}

template <typename Number>
bool ParseDecimal(const char* text, Number& out) {
    const char* end = text + std::strlen(text);
    const auto [last, error] = std::from_chars(text, end, out);
    return error == std::errc() && last == end;
}

std::string Hex(const void* data, std::size_t size) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out;
    out.reserve(size * 2);
    const auto* bytes = static_cast<const unsigned char*>(data);
    for (std::size_t i = 0; i < size; ++i) {
        out += kDigits[bytes[i] >> 4];
        out += kDigits[bytes[i] & 0x0F];
    }
    return out;
}

platform::LRESULT PrintingWindowProc(platform::HWND hwnd, platform::UINT message, platform::WPARAM wParam,
                                     platform::LPARAM lParam) {
    if (message == platform::WM_CREATE) return 0;
    if (message == platform::WM_COPYDATA) {
        const auto* copy = reinterpret_cast<const platform::COPYDATASTRUCT*>(lParam);
        std::printf("msg=%u wparam=%ju copydata tag=%ju len=%u hex=%s\n", message, static_cast<std::uintmax_t>(wParam),
                    static_cast<std::uintmax_t>(copy->dwData), copy->cbData, Hex(copy->lpData, copy->cbData).c_str());
        std::fflush(stdout);
        return 1;
    }
    std::printf("msg=%u wparam=%ju lparam=%jd\n", message, static_cast<std::uintmax_t>(wParam),
                static_cast<std::intmax_t>(lParam));
    std::fflush(stdout);
    if (message == platform::WM_DESTROY) platform::PostQuitMessage(0);
    return platform::DefWindowProcW(hwnd, message, wParam, lParam);
}

int RunWindow(int argc, char** argv) {
    std::string title = kDefaultTitle;
    for (int i = 2; i < argc; ++i) {
        if (std::strcmp(argv[i], "--title") == 0 && i + 1 < argc) {
            title = argv[++i];
        } else {
            return Usage();
        }
    }
    platform::RegisterClassW(kClassName, &PrintingWindowProc);
    const platform::HWND hwnd =
        platform::CreateWindowExW(0, kClassName, platform::AnsiToWide(title), 0, 0, 0, 0, 0, 0, nullptr);
    if (hwnd == 0) {
        std::fputs("tidewell-sim: cannot create a window in the session folder\n", stderr);
        return 1;
    }
    platform::OnTerminationSignal([] { platform::PostQuitMessage(0); });
    std::printf("hwnd=%d\n", hwnd);
    std::fflush(stdout);

    platform::QueuedMSG message;
    while (platform::GetMessageW(&message) != 0) platform::DispatchMessageW(&message);
    if (platform::IsWindow(hwnd)) platform::DestroyWindow(hwnd);
    return 0;
}

int Find(int argc, char** argv) {
    if (argc != 3) return Usage();
    const platform::HWND hwnd = platform::FindWindowW(nullptr, platform::AnsiToWide(argv[2]));
    if (hwnd == 0) return 1;
    std::printf("%d\n", hwnd);
    return 0;
}

int Post(int argc, char** argv) {
    if (argc < 4 || argc > 6) return Usage();
    platform::HWND hwnd = 0;
    platform::UINT message = 0;
    platform::WPARAM wParam = 0;
    platform::LPARAM lParam = 0;
    if (!ParseDecimal(argv[2], hwnd) || !ParseDecimal(argv[3], message) ||
        (argc > 4 && !ParseDecimal(argv[4], wParam)) || (argc > 5 && !ParseDecimal(argv[5], lParam))) {
        return Usage();
    }
    return platform::PostMessageW(hwnd, message, wParam, lParam) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    platform::InitProcessLocale();
    if (argc < 2) return Usage();
    const std::string_view command = argv[1];
    if (command == "window") return RunWindow(argc, argv);
    if (command == "find") return Find(argc, argv);
    if (command == "post") return Post(argc, argv);
    return Usage();
}
