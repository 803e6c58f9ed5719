#pragma once
// Where every browser of the process keeps its data, and whom it trusts besides the system's
// certificates: the process's settings for its browsers, read by the browser back end.
#include <string>

namespace platform {

struct BrowserProfile {
    std::string dataFolder;   // cookies, local storage; empty: the toolkit's default place
    std::string cacheFolder;  // the page cache
    // One certificate (PEM) trusted for one host, on top of the system trust store.
    std::string trustedCertificatePem;
    std::string trustedCertificateHost;
};

// Set once, before the first browser is created; a later call changes nothing.
void SetBrowserProfile(const BrowserProfile& profile);
// The profile set, or null when none was: the browsers then use the toolkit's defaults.
const BrowserProfile* CurrentBrowserProfile();
// Freezes the profile: the first browser has been made with it.
void LockBrowserProfile();

// From now on cookies live in memory only, for the rest of the process; asked before the
// first navigation, no cookie ever reaches the disk.
void SuppressPersistentCookies();
bool PersistentCookiesSuppressed();

}  // namespace platform
