#pragma once

#include <cstddef>
#include <cstdint>

namespace varnow {

// Magic words, as little-endian 32-bit values of their four ASCII bytes.
inline constexpr std::uint32_t kKofsMagic = 0x536F466B;        // "kFoS"
inline constexpr std::uint32_t kFirmwareMagicF1 = 0x50733166;  // "f1sP"
inline constexpr std::uint32_t kFirmwareMagicF4 = 0x50733466;  // "f4sP"

// KOFS image head and tail fields.
inline constexpr std::size_t kHeadFixedSize = 16;
inline constexpr std::size_t kHeadSizeField = 4;     // 16-bit image length in KiB
inline constexpr std::size_t kHeadCrcField = 6;      // CRC over bytes 0..5
inline constexpr std::size_t kHeadLengthField = 10;  // head length in 32-bit words
inline constexpr std::size_t kProductIdField = 11;
inline constexpr std::size_t kTailSize = 8;
inline constexpr std::size_t kTailCrcField = 6;  // CRC over tail bytes 0..5
inline constexpr std::size_t kCrcCoveredBytes = 6;

// Firmware image header.
inline constexpr std::size_t kFirmwareHeaderSize = 16;
inline constexpr std::size_t kFirmwareCrcField = 8;  // CRC over bytes 16..end

// Record types of the head and of the firmware tail block.
inline constexpr std::uint8_t kImageNameRecord = 0x61;     // "a"
inline constexpr std::uint8_t kFirmwareNameRecord = 0x41;  // "A"

// The longest image name kept; longer names are cut.
inline constexpr std::size_t kMaxImageNameBytes = 1023;

// Packages are read whole. No real package comes near this (images are at most 64 MiB and
// must fit a 5 MiB upload text); anything larger is not a package and is refused unread.
inline constexpr std::uintmax_t kMaxPackageFileBytes = 128u * 1024 * 1024;

enum class PackageKind : int {
    Unreadable = -1,
    Incorrect = 0,
    Image = 1,
    Firmware = 2,
    ImageAndFirmware = 3,
};

}  // namespace varnow
