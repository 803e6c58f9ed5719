#include "PlatformNotice.h"

#include "Text.h"
#include "WindowMessaging.h"

namespace {

void PutInt32(unsigned char* at, std::int32_t value) {
    for (int i = 0; i < 4; ++i) at[i] = static_cast<unsigned char>((static_cast<std::uint32_t>(value) >> (8 * i)) & 0xFF);
}

}  // namespace

std::array<unsigned char, kPlatformNoticeBytes> PlatformNotice() {
    std::array<unsigned char, kPlatformNoticeBytes> record{};
    PutInt32(record.data(), 1);
    const std::u16string text = platform::WideToUtf16(L"1");
    for (std::size_t i = 0; i < text.size() && i < 259; ++i) {
        record[4 + 2 * i] = static_cast<unsigned char>(text[i] & 0xFF);
        record[5 + 2 * i] = static_cast<unsigned char>(text[i] >> 8);
    }
    PutInt32(record.data() + 524, 1);
    return record;
}

void NotifyPlatformWindow(const std::wstring& handleText) {
    const std::array<unsigned char, kPlatformNoticeBytes> record = PlatformNotice();
    platform::COPYDATASTRUCT copy{kPlatformNoticeTag, static_cast<std::uint32_t>(record.size()), record.data()};
    // Sent and waited for; a platform window that hangs is given up after the send time-out.
    platform::SendMessageW(platform::HandleFromText(handleText), platform::WM_COPYDATA, 0, reinterpret_cast<platform::LPARAM>(&copy));
}
