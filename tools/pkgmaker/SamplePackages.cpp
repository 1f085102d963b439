#include "SamplePackages.h"

#include <algorithm>
#include <stdexcept>

#include "crypto/Crc16.h"

namespace varnow::samples {
namespace {

constexpr std::size_t kHeadFixedSize = 16;

void FillPseudoRandom(std::span<std::uint8_t> bytes, std::uint32_t seed) {
    std::uint32_t state = seed * 2654435761u + 1;
    for (auto& byte : bytes) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        byte = static_cast<std::uint8_t>(state >> 24);
    }
}

void PutMagic(Bytes& bytes, std::size_t at, std::string_view magic) {
    std::copy(magic.begin(), magic.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at));
}

void SealSixBytes(Bytes& bytes, std::size_t at) {
    WriteLe16(bytes, at + 6, Crc16(ByteView(bytes).subspan(at, 6)));
}

}  // namespace

Bytes MakeKofsImage(const KofsOptions& options) {
    if (options.sizeKib == 0 || options.sizeKib > 0xFFFF) {
        throw std::invalid_argument("KOFS size must be 1..65535 KiB");
    }
    const std::size_t length = 1024u * options.sizeKib;
    const std::size_t recordLength = options.name.empty() ? 0 : 4 + options.name.size();
    const std::size_t headLength = (kHeadFixedSize + recordLength + 3) / 4 * 4;
    if (headLength / 4 > 0xFF || headLength + 8 > length) {
        throw std::invalid_argument("image name too long for the head");
    }
    Bytes image(length);
    FillPseudoRandom(image, options.seed);
    std::fill_n(image.begin(), headLength, 0);
    PutMagic(image, 0, "kFoS");
    WriteLe16(image, 4, static_cast<std::uint16_t>(options.sizeKib));
    SealSixBytes(image, 0);
    image[10] = static_cast<std::uint8_t>(headLength / 4);
    image[11] = options.productId;
    if (recordLength > 0) {
        image[16] = 'a';
        image[17] = 0;
        WriteLe16(image, 18, static_cast<std::uint16_t>(recordLength));
        std::copy(options.name.begin(), options.name.end(), image.begin() + 20);
    }
    const std::size_t tail = length - 8;
    std::fill_n(image.begin() + static_cast<std::ptrdiff_t>(tail), 8, 0);
    PutMagic(image, tail, "kFoS");
    SealSixBytes(image, tail);
    return image;
}

Bytes MakeFirmwareImage(const FirmwareOptions& options) {
    if (options.bytes < 16 || options.magic.size() != 4) {
        throw std::invalid_argument("firmware needs 16 bytes and a 4-letter magic");
    }
    Bytes image(options.bytes);
    FillPseudoRandom(image, options.seed);
    std::fill_n(image.begin(), 16, 0);
    PutMagic(image, 0, options.magic);
    WriteLe32(image, 4, static_cast<std::uint32_t>(options.bytes));  // the boot loader's business
    WriteLe16(image, 8, Crc16(ByteView(image).subspan(16)));
    return image;
}

Bytes MakeCombinedPackage(const KofsOptions& kofs, const FirmwareOptions& firmware) {
    Bytes package = MakeKofsImage(kofs);
    const Bytes tail = MakeFirmwareImage(firmware);
    package.insert(package.end(), tail.begin(), tail.end());
    return package;
}

void ApplyDamage(Bytes& package, Damage damage, std::size_t imageLength) {
    switch (damage) {
        case Damage::None:
            break;
        case Damage::HeadMagic:
            package.at(0) = 'K';
            break;
        case Damage::HeadCrc:
            package.at(6) ^= 0xFF;
            break;
        case Damage::TailMagic:
            package.at(imageLength - 8) = 'K';
            break;
        case Damage::TailCrc:
            package.at(imageLength - 2) ^= 0xFF;
            break;
        case Damage::FirmwareCrc:
            package.at(imageLength + 8) ^= 0xFF;
            break;
        case Damage::Truncate:
            package.resize(package.size() > 200 ? package.size() - 100 : package.size() / 2);
            break;
    }
}

std::optional<Damage> ParseDamage(std::string_view name) {
    if (name == "none")
        return Damage::None;
    if (name == "head-magic")
        return Damage::HeadMagic;
    if (name == "head-crc")
        return Damage::HeadCrc;
    if (name == "tail-magic")
        return Damage::TailMagic;
    if (name == "tail-crc")
        return Damage::TailCrc;
    if (name == "firmware-crc")
        return Damage::FirmwareCrc;
    if (name == "truncate")
        return Damage::Truncate;
    return std::nullopt;
}

}  // namespace varnow::samples
