#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "link/ChannelBuffers.h"
#include "link/ReplyLine.h"

namespace varnow {

// Turns the received byte stream into reply lines. CR ends a line; LF and ETX are dropped
// wherever they are; an STX starts a framed line and discards whatever was held before it; a
// line that reaches 4096 bytes without a CR is discarded when the next byte arrives.
class LineAssembler {
public:
    // Adds one byte; true when it completed a line, which TakeLine() then hands over.
    bool Feed(std::uint8_t byte);
    ReplyLine TakeLine();
    void Clear() { m_length = 0; }
    std::size_t length() const { return m_length; }

private:
    std::array<std::uint8_t, kLineBufferSize> m_line{};
    std::size_t m_length = 0;
};

}  // namespace varnow
