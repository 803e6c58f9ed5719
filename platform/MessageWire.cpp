#include "MessageWire.h"

#include <algorithm>
#include <type_traits>

namespace platform {
namespace {

constexpr std::string_view kMessageMagic = "VKM1";
constexpr std::string_view kReplyMagic = "VKR1";
constexpr std::uint8_t kFlagCopyData = 0x01;

template <typename Integer>
void Put(std::string& out, Integer value) {
    auto bits = static_cast<std::make_unsigned_t<Integer>>(value);
    for (std::size_t i = 0; i < sizeof(Integer); ++i) {
        out += static_cast<char>(bits & 0xFF);
        bits = static_cast<decltype(bits)>(bits >> 8);
    }
}

template <typename Integer>
Integer Get(std::string_view in, std::size_t offset) {
    std::make_unsigned_t<Integer> bits = 0;
    for (std::size_t i = sizeof(Integer); i-- > 0;) {
        bits = static_cast<decltype(bits)>((bits << 8) | static_cast<unsigned char>(in[offset + i]));
    }
    return static_cast<Integer>(bits);
}

}  // namespace

std::string EncodeMessage(const WireMessage& message) {
    std::string out;
    out.reserve(kMessageHeaderBytes + message.data.size());
    out += kMessageMagic;
    Put<std::uint8_t>(out, static_cast<std::uint8_t>(message.delivery));
    Put<std::uint8_t>(out, message.hasCopyData ? kFlagCopyData : 0);
    Put<std::uint16_t>(out, 0);
    Put<std::int32_t>(out, message.hwnd);
    Put<std::uint32_t>(out, message.message);
    Put<std::uint64_t>(out, message.wParam);
    Put<std::int64_t>(out, message.lParam);
    Put<std::uint64_t>(out, message.dataTag);
    Put<std::uint32_t>(out, static_cast<std::uint32_t>(message.data.size()));
    out += message.data;
    return out;
}

DecodeStatus DecodeMessage(std::string_view buffer, WireMessage& out) {
    const std::size_t magicBytes = std::min(buffer.size(), kMessageMagic.size());
    if (buffer.substr(0, magicBytes) != kMessageMagic.substr(0, magicBytes)) return DecodeStatus::Invalid;
    if (buffer.size() < kMessageHeaderBytes) return DecodeStatus::Incomplete;

    const auto delivery = Get<std::uint8_t>(buffer, 4);
    const auto flags = Get<std::uint8_t>(buffer, 5);
    const auto dataLength = Get<std::uint32_t>(buffer, 40);
    if ((delivery != 1 && delivery != 2) || (flags & ~kFlagCopyData) != 0 || Get<std::uint16_t>(buffer, 6) != 0) {
        return DecodeStatus::Invalid;
    }
    if (dataLength > kMaxCopyDataBytes || ((flags & kFlagCopyData) == 0 && dataLength != 0)) {
        return DecodeStatus::Invalid;
    }
    if (buffer.size() < kMessageHeaderBytes + dataLength) return DecodeStatus::Incomplete;

    out.delivery = static_cast<Delivery>(delivery);
    out.hasCopyData = (flags & kFlagCopyData) != 0;
    out.hwnd = Get<std::int32_t>(buffer, 8);
    out.message = Get<std::uint32_t>(buffer, 12);
    out.wParam = Get<std::uint64_t>(buffer, 16);
    out.lParam = Get<std::int64_t>(buffer, 24);
    out.dataTag = Get<std::uint64_t>(buffer, 32);
    out.data.assign(buffer.substr(kMessageHeaderBytes, dataLength));
    return DecodeStatus::Complete;
}

std::string EncodeReply(LRESULT result) {
    std::string out(kReplyMagic);
    Put<std::int64_t>(out, result);
    return out;
}

DecodeStatus DecodeReply(std::string_view buffer, LRESULT& out) {
    const std::size_t magicBytes = std::min(buffer.size(), kReplyMagic.size());
    if (buffer.substr(0, magicBytes) != kReplyMagic.substr(0, magicBytes)) return DecodeStatus::Invalid;
    if (buffer.size() < kReplyBytes) return DecodeStatus::Incomplete;
    out = static_cast<LRESULT>(Get<std::int64_t>(buffer, 4));
    return DecodeStatus::Complete;
}

}  // namespace platform
