#pragma once
// Delivers encoded addresses to the cloud platform's local client: one connection to its
// pipe per message, the bare bytes in one write, then the connection is closed.
#include "LocalSocket.h"

#include <cstdint>

inline constexpr char kPlatformPipeName[] = "VelmarGamePlatformPipeS2C";

class CVMChannel {
public:
    // Connects to the pipe unless connected already; no waiting when nobody listens or the
    // listener is busy, and only to a listener of the same user.
    bool OpenPipe();
    // Writes all bytes as one message and closes the connection, whatever the outcome.
    // Empty data (null, or a first byte of zero) is refused without connecting.
    bool WritePipe(const char* data, std::uint32_t length);

private:
    platform::LocalSocket m_hPipe;
};
