#include "VMChannel.h"

#include "SessionDir.h"

#include <string_view>

namespace {

// A local reader takes a short message at once; this only bounds a stalled one.
constexpr int kWriteTimeoutMs = 5000;

}  // namespace

bool CVMChannel::OpenPipe() {
    if (m_hPipe.IsValid()) return true;
    const std::string session = platform::SessionRuntimeDir();
    if (session.empty()) return false;
    m_hPipe = platform::LocalSocket::Connect(session + "/" + kPlatformPipeName, platform::DeadlineAfter(0));
    return m_hPipe.IsValid();
}

bool CVMChannel::WritePipe(const char* data, std::uint32_t length) {
    if (data == nullptr || data[0] == '\0') return false;
    if (!OpenPipe()) return false;
    const bool written = m_hPipe.WriteAll(std::string_view(data, length), platform::DeadlineAfter(kWriteTimeoutMs));
    m_hPipe = platform::LocalSocket();
    return written;
}
