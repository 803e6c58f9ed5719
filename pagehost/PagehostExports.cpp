// The exports of libpagehost.so, with C linkage.
#include "ChangeRegedit.h"

#include "ExportBoundary.h"
#include "Text.h"

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
