#include "BrowserProfile.h"

#include <atomic>
#include <optional>

namespace platform {
namespace {

struct ProcessProfile {
    std::optional<BrowserProfile> profile;
    bool locked = false;
    std::atomic<bool> cookiesSuppressed{false};
};

ProcessProfile& Current() {
    static ProcessProfile current;
    return current;
}

}  // namespace

void SetBrowserProfile(const BrowserProfile& profile) {
    if (!Current().locked) Current().profile = profile;
}

const BrowserProfile* CurrentBrowserProfile() { return Current().profile ? &*Current().profile : nullptr; }

void LockBrowserProfile() { Current().locked = true; }

void SuppressPersistentCookies() { Current().cookiesSuppressed = true; }

bool PersistentCookiesSuppressed() { return Current().cookiesSuppressed; }

}  // namespace platform
