#include "crypto/Crc16.h"

namespace varnow {

std::uint16_t Crc16(ByteView bytes) {
    // Computed bit by bit in the direct form; with the initial value 0x1D0F this equals the
    // augmented form that starts at 0xFFFF and shifts 16 zero bits in after the message.
    std::uint16_t crc = 0x1D0F;
    for (std::uint8_t byte : bytes) {
        crc = static_cast<std::uint16_t>(crc ^ (byte << 8));
        for (int bit = 0; bit < 8; ++bit) {
            const bool top = (crc & 0x8000) != 0;
            crc = static_cast<std::uint16_t>(crc << 1);
            if (top) {
                crc = static_cast<std::uint16_t>(crc ^ 0x1021);
            }
        }
    }
    return crc;
}

}  // namespace varnow
