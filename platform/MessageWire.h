#pragma once
// How a window message travels to a window of another process: one frame per
// connection, answered by one reply frame when the sender waits for a result. Frames are
// data only; nothing in them is ever used as a pointer by the receiver.
#include "Messages.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

enum class Delivery : std::uint8_t { Post = 1, Send = 2 };

struct WireMessage {
    Delivery delivery = Delivery::Post;
    HWND hwnd = 0;
    UINT message = 0;
    std::uint64_t wParam = 0;
    std::int64_t lParam = 0;
    bool hasCopyData = false;
    std::uint64_t dataTag = 0;
    std::string data;
};

constexpr std::size_t kMessageHeaderBytes = 44;
constexpr std::size_t kReplyBytes = 12;
// WM_COPYDATA payloads above this size are refused by sender and receiver alike; the
// largest the system sends is the platform's 528-byte notice.
constexpr std::size_t kMaxCopyDataBytes = 64u << 10;

enum class DecodeStatus { Complete, Incomplete, Invalid };

std::string EncodeMessage(const WireMessage& message);
// Decodes a frame from the start of buffer. Incomplete: more bytes are needed.
DecodeStatus DecodeMessage(std::string_view buffer, WireMessage& out);

std::string EncodeReply(LRESULT result);
DecodeStatus DecodeReply(std::string_view buffer, LRESULT& out);

}  // namespace platform
