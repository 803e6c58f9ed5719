// The exports of libpagehost.so, with C linkage.
#include "ChangeRegedit.h"
#include "MyWebDlg.h"

#include "ExportBoundary.h"
#include "Text.h"

#include <cstdint>

#define PAGEHOST_EXPORT extern "C" __attribute__((visibility("default")))

// Sets the browser emulation level for the executable name (8-bit text in the calling
// thread's code page; null counts as empty).
PAGEHOST_EXPORT void ChangeRegedit(const char* name) {
    platform::ExportBoundary([&] {
        const std::wstring wide = platform::MultiByteToWide(platform::CP_THREAD_ACP, name != nullptr ? name : "");
        // The name passes through the code page and back, as the system's own calls see it.
        ChangeBrowserEmulation(platform::MultiByteToWide(
            platform::CP_THREAD_ACP, platform::WideToMultiByte(platform::CP_THREAD_ACP, wide)));
    });
}

// Shows the address in a dialog sized and zoomed for the screen. Modal: returns 0 once the
// dialog has been closed. Modeless: returns the dialog's handle at once (0 when it could not
// be shown); the calling thread's loop serves it, and the host destroys it by its handle.
PAGEHOST_EXPORT std::int32_t CreateDlg(int width, int height, const char* address, bool modal) {
    return platform::ExportBoundary(std::int32_t{0}, [&]() -> std::int32_t {
        return MyWebDlg::Open(width, height,
                              platform::MultiByteToWide(platform::CP_THREAD_ACP, address != nullptr ? address : ""), modal);
    });
}
