#include "Base64.h"

#include <array>
#include <cstdint>

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr std::uint8_t kInvalid = 0xFF;

constexpr std::array<std::uint8_t, 256> MakeDecodeTable() {
    std::array<std::uint8_t, 256> table{};
    for (auto& value : table) value = kInvalid;
    for (std::uint8_t i = 0; i < 64; ++i) table[static_cast<unsigned char>(kAlphabet[i])] = i;
    return table;
}

constexpr std::array<std::uint8_t, 256> kDecode = MakeDecodeTable();

}  // namespace

std::string Base64Encode(std::string_view bytes) {
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    std::size_t i = 0;
    for (; i + 3 <= bytes.size(); i += 3) {
        const std::uint32_t group = (static_cast<unsigned char>(bytes[i]) << 16) |
                                    (static_cast<unsigned char>(bytes[i + 1]) << 8) |
                                    static_cast<unsigned char>(bytes[i + 2]);
        out += kAlphabet[(group >> 18) & 0x3F];
        out += kAlphabet[(group >> 12) & 0x3F];
        out += kAlphabet[(group >> 6) & 0x3F];
        out += kAlphabet[group & 0x3F];
    }
    const std::size_t rest = bytes.size() - i;
    if (rest > 0) {
        std::uint32_t group = static_cast<unsigned char>(bytes[i]) << 16;
        if (rest == 2) group |= static_cast<unsigned char>(bytes[i + 1]) << 8;
        out += kAlphabet[(group >> 18) & 0x3F];
        out += kAlphabet[(group >> 12) & 0x3F];
        out += rest == 2 ? kAlphabet[(group >> 6) & 0x3F] : '=';
        out += '=';
    }
    return out;
}

std::string Base64Decode(std::string_view text) {
    if (text.empty() || text.size() % 4 != 0) return {};
    std::string out;
    out.reserve(text.size() / 4 * 3);
    for (std::size_t i = 0; i < text.size(); i += 4) {
        const bool last = i + 4 == text.size();
        std::uint8_t values[4];
        int filler = 0;
        for (int k = 0; k < 4; ++k) {
            const char c = text[i + k];
            if (c == '=') {
                // Only the last group may be filled: its fourth character alone, or its third
                // and fourth together.
                if (!last || k < 2 || (k == 2 && text[i + 3] != '=')) return {};
                ++filler;
                values[k] = 0;
                continue;
            }
            if (filler > 0) return {};
            values[k] = kDecode[static_cast<unsigned char>(c)];
            if (values[k] == kInvalid) return {};
        }
        if (filler == 1 && (values[2] & 0x03) != 0) return {};
        if (filler == 2 && (values[1] & 0x0F) != 0) return {};
        out += static_cast<char>((values[0] << 2) | (values[1] >> 4));
        if (filler < 2) out += static_cast<char>(((values[1] & 0x0F) << 4) | (values[2] >> 2));
        if (filler < 1) out += static_cast<char>(((values[2] & 0x03) << 6) | values[3]);
    }
    return out;
}
