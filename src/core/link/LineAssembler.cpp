#include "link/LineAssembler.h"

namespace varnow {
namespace {
constexpr std::uint8_t kStx = 0x02;
constexpr std::uint8_t kEtx = 0x03;
constexpr std::uint8_t kLf = 0x0A;
constexpr std::uint8_t kCr = 0x0D;
}  // namespace

bool LineAssembler::Feed(std::uint8_t byte) {
    // Checked before the byte is looked at: the longest line delivered holds 4095 bytes.
    if (m_length >= m_line.size()) {
        m_length = 0;
    }
    if (byte == kLf || byte == kEtx) {
        return false;
    }
    if (byte == kStx && m_length != 0) {
        m_line[0] = kStx;
        m_length = 1;
        return false;
    }
    if (byte == kCr) {
        return true;
    }
    m_line[m_length++] = byte;
    return false;
}

ReplyLine LineAssembler::TakeLine() {
    ReplyLine line;
    const bool framed = m_length > 0 && m_line[0] == kStx;
    const std::size_t start = framed ? 1 : 0;
    line.text.assign(reinterpret_cast<const char*>(m_line.data()) + start, m_length - start);
    line.framed = framed;
    m_length = 0;
    return line;
}

}  // namespace varnow
