#include "base64/Base64Decoder.h"

#include <array>

namespace varnow {
namespace {

constexpr std::array<std::uint8_t, 128> MakeDecodeTable() {
    std::array<std::uint8_t, 128> table{};
    constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    for (std::uint8_t value = 0; value < 64; ++value) {
        table[static_cast<unsigned char>(kAlphabet[value])] = value;
    }
    return table;
}

constexpr auto kDecodeTable = MakeDecodeTable();

}  // namespace

Bytes DecodeBase64(ByteView text) {
    Bytes output;
    output.reserve((text.size() + 3) / 4 * 3);
    std::size_t at = 0;
    while (at < text.size()) {
        if (static_cast<std::int8_t>(text[at]) < 32) {
            ++at;
            continue;
        }
        std::array<std::uint8_t, 4> group{};
        for (std::size_t i = 0; i < 4 && at + i < text.size(); ++i) {
            group[i] = text[at + i];
        }
        std::uint32_t triple = 0;
        for (std::uint8_t character : group) {
            triple = (triple << 6) | kDecodeTable[character & 0x7F];
        }
        const std::size_t before = output.size();
        output.push_back(static_cast<std::uint8_t>(triple >> 16));
        output.push_back(static_cast<std::uint8_t>(triple >> 8));
        output.push_back(static_cast<std::uint8_t>(triple));
        if (group[2] == '=') {
            output.resize(before + 1);
            break;
        }
        if (group[3] == '=') {
            output.resize(before + 2);
            break;
        }
        at += 4;
    }
    return output;
}

}  // namespace varnow
