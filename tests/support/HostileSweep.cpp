#include "HostileSweep.h"

#include "LocalSocket.h"
#include "MessageWire.h"
#include "WindowMessaging.h"
#include "WindowRegistry.h"

#include <cstdint>
#include <limits>

namespace {

struct Parameters {
    std::uint64_t wParam;
    std::int64_t lParam;
};

constexpr Parameters kHostile[] = {
    {0x41414141, 0x41414141},
    {std::numeric_limits<std::uint64_t>::max(), -1},
    {0x00007FFFFFFFF000ull, 0x10},
    {1, std::numeric_limits<std::int64_t>::min()},
};

// One frame, written whole; for a sent one, waits briefly for whatever answer comes.
bool WriteFrame(const std::string& socketPath, const platform::WireMessage& wire) {
    const platform::Deadline deadline = platform::DeadlineAfter(5000);
    const platform::LocalSocket socket = platform::LocalSocket::Connect(socketPath, deadline);
    if (!socket.IsValid() || !socket.WriteAll(platform::EncodeMessage(wire), deadline)) return false;
    if (wire.delivery == platform::Delivery::Send) {
        char reply[platform::kReplyBytes];
        socket.ReadSome(reply, sizeof(reply), platform::DeadlineAfter(2000));
    }
    return true;
}

}  // namespace

int SendHostileFrames(platform::HWND hwnd, const std::set<platform::UINT>& leftOut, platform::UINT lastMessage) {
    const std::optional<platform::WindowRecord> record = platform::WindowRegistry::Lookup(hwnd);
    if (!record) return -1;
    const std::string socketPath = platform::MessageSocketPath(record->socketName);
    int failed = 0;
    for (platform::UINT message = 0; message <= lastMessage; ++message) {
        if (leftOut.contains(message)) continue;
        for (const Parameters& parameters : kHostile) {
            platform::WireMessage wire;
            wire.hwnd = hwnd;
            wire.message = message;
            wire.wParam = parameters.wParam;
            wire.lParam = parameters.lParam;
            if (!WriteFrame(socketPath, wire)) ++failed;
        }
        // The system's own messages are sent as well, where a handler answers at once.
        if (message < platform::WM_USER) {
            platform::WireMessage wire;
            wire.delivery = platform::Delivery::Send;
            wire.hwnd = hwnd;
            wire.message = message;
            wire.wParam = kHostile[0].wParam;
            wire.lParam = kHostile[0].lParam;
            if (!WriteFrame(socketPath, wire)) ++failed;
        }
    }
    // WM_COPYDATA as no well-behaved sender writes it: posted, without its bytes, with a
    // pointer in lParam, with bytes on another message.
    for (const bool withData : {false, true}) {
        for (const platform::Delivery delivery : {platform::Delivery::Post, platform::Delivery::Send}) {
            platform::WireMessage wire;
            wire.delivery = delivery;
            wire.hwnd = hwnd;
            wire.message = platform::WM_COPYDATA;
            wire.lParam = 0x41414141;
            wire.hasCopyData = withData;
            if (withData) wire.data = "hostile";
            if (!WriteFrame(socketPath, wire)) ++failed;
            wire.message = platform::WM_CREATE;
            if (!WriteFrame(socketPath, wire)) ++failed;
        }
    }
    return failed;
}

bool StillAnswers(platform::HWND hwnd) {
    platform::LRESULT result = 0;
    return platform::SendMessageTimeoutW(hwnd, platform::WM_NULL, 0, 0, 10000, &result);
}
