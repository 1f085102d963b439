#include "base64/Base64Encoder.h"

namespace varnow {
namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr std::size_t kGroupsPerLine = 19;

}  // namespace

std::size_t Base64EncodedLength(std::size_t byteCount) {
    const std::size_t fullGroups = byteCount / 3;
    const std::size_t partial = (byteCount % 3 != 0) ? 1 : 0;
    return 4 * (fullGroups + partial) + 2 * (fullGroups / kGroupsPerLine);
}

std::string EncodeBase64(ByteView bytes) {
    std::string text;
    text.reserve(Base64EncodedLength(bytes.size()));
    std::size_t at = 0;
    std::size_t groupsOnLine = 0;
    for (; bytes.size() - at >= 3; at += 3) {
        const std::uint32_t triple =
            (std::uint32_t{bytes[at]} << 16) | (std::uint32_t{bytes[at + 1]} << 8) | bytes[at + 2];
        text.push_back(kAlphabet[(triple >> 18) & 0x3F]);
        text.push_back(kAlphabet[(triple >> 12) & 0x3F]);
        text.push_back(kAlphabet[(triple >> 6) & 0x3F]);
        text.push_back(kAlphabet[triple & 0x3F]);
        if (++groupsOnLine == kGroupsPerLine) {
            text.append("\r\n");
            groupsOnLine = 0;
        }
    }
    const std::size_t rest = bytes.size() - at;
    if (rest > 0) {
        const std::uint32_t triple =
            (std::uint32_t{bytes[at]} << 16) | (rest == 2 ? std::uint32_t{bytes[at + 1]} << 8 : 0);
        text.push_back(kAlphabet[(triple >> 18) & 0x3F]);
        text.push_back(kAlphabet[(triple >> 12) & 0x3F]);
        text.push_back(rest == 2 ? kAlphabet[(triple >> 6) & 0x3F] : '=');
        text.push_back('=');
    }
    return text;
}

}  // namespace varnow
