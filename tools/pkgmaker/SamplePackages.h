#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/Bytes.h"

// Builds valid (or deliberately damaged) KOFS images, firmware images and packages for tests,
// the simulated board and the demo. Not part of the tool: the tool never builds images.
namespace varnow::samples {

struct KofsOptions {
    unsigned sizeKib = 1;  // image length in KiB (1..65535)
    std::uint8_t productId = 1;
    std::string name = "sample";  // "a" record; empty for a head without records
    std::uint32_t seed = 1;       // body bytes are a repeatable pseudo-random sequence
};

struct FirmwareOptions {
    std::size_t bytes = 2048;    // whole image, header included (at least 16)
    std::string magic = "f1sP";  // or "f4sP"
    std::uint32_t seed = 7;
};

enum class Damage { None, HeadMagic, HeadCrc, TailMagic, TailCrc, FirmwareCrc, Truncate };

Bytes MakeKofsImage(const KofsOptions& options);
Bytes MakeFirmwareImage(const FirmwareOptions& options);
Bytes MakeCombinedPackage(const KofsOptions& kofs, const FirmwareOptions& firmware);

// Damages a package in place. `imageLength` is the KOFS part's length (0 for firmware-only).
// Truncate cuts the last 100 bytes (or half of a shorter file).
void ApplyDamage(Bytes& package, Damage damage, std::size_t imageLength);

std::optional<Damage> ParseDamage(std::string_view name);

}  // namespace varnow::samples
