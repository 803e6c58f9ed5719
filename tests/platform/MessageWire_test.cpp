#include "MessageWire.h"

#include <gtest/gtest.h>

namespace {

platform::WireMessage CopyData(std::string bytes) {
    platform::WireMessage message;
    message.delivery = platform::Delivery::Send;
    message.hwnd = 65536;
    message.message = platform::WM_COPYDATA;
    message.hasCopyData = true;
    message.dataTag = 1;
    message.data = std::move(bytes);
    return message;
}

TEST(MessageWire, RoundTripKeepsEveryField) {
    platform::WireMessage message = CopyData(std::string("\x01\x00\x00\x00\x31\x00", 6));
    message.wParam = 0xFFFFFFFFFFFFFFFFull;
    message.lParam = -2;
    const std::string frame = platform::EncodeMessage(message);
    ASSERT_EQ(frame.size(), platform::kMessageHeaderBytes + 6);

    platform::WireMessage decoded;
    ASSERT_EQ(platform::DecodeMessage(frame, decoded), platform::DecodeStatus::Complete);
    EXPECT_EQ(decoded.delivery, message.delivery);
    EXPECT_EQ(decoded.hwnd, message.hwnd);
    EXPECT_EQ(decoded.message, message.message);
    EXPECT_EQ(decoded.wParam, message.wParam);
    EXPECT_EQ(decoded.lParam, message.lParam);
    EXPECT_TRUE(decoded.hasCopyData);
    EXPECT_EQ(decoded.dataTag, 1u);
    EXPECT_EQ(decoded.data, message.data);
}

TEST(MessageWire, EveryPrefixIsIncomplete) {
    const std::string frame = platform::EncodeMessage(CopyData("abc"));
    for (std::size_t length = 0; length < frame.size(); ++length) {
        platform::WireMessage decoded;
        EXPECT_EQ(platform::DecodeMessage(std::string_view(frame).substr(0, length), decoded),
                  platform::DecodeStatus::Incomplete)
            << length;
    }
}

TEST(MessageWire, MalformedFramesAreRefused) {
    const std::string good = platform::EncodeMessage(CopyData("abc"));
    auto with = [&](std::size_t offset, char value) {
        std::string frame = good;
        frame[offset] = value;
        return frame;
    };
    std::string oversized = good;
    oversized[43] = 0x7F;  // a length far beyond the limit
    platform::WireMessage plain;
    std::string dataWithoutFlag = platform::EncodeMessage(plain);
    dataWithoutFlag[40] = 1;

    const std::pair<const char*, std::string> rows[] = {
        {"bad magic", with(0, 'X')},       {"unknown delivery", with(4, 9)}, {"unknown flag", with(5, 0x02)},
        {"reserved bits", with(6, 1)},     {"oversized data", oversized},    {"data without flag", dataWithoutFlag},
    };
    for (const auto& [name, frame] : rows) {
        platform::WireMessage decoded;
        EXPECT_EQ(platform::DecodeMessage(frame, decoded), platform::DecodeStatus::Invalid) << name;
    }
}

TEST(MessageWire, ReplyRoundTrip) {
    platform::LRESULT value = 0;
    EXPECT_EQ(platform::DecodeReply(platform::EncodeReply(-7), value), platform::DecodeStatus::Complete);
    EXPECT_EQ(value, -7);
    EXPECT_EQ(platform::DecodeReply("VKR", value), platform::DecodeStatus::Incomplete);
    EXPECT_EQ(platform::DecodeReply("XXXX", value), platform::DecodeStatus::Invalid);
}

}  // namespace
