#include "PlatformNotice.h"

#include "Logger.h"

void NotifyPlatformWindow(const std::wstring& handleText) { LOG_WRITE(2, L"NotifyPlatformWindow " << handleText); }
