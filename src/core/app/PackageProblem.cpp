#include "app/PackageProblem.h"

#include <cstdio>

#include "crypto/Crc16.h"
#include "package/PackageFormat.h"
#include "ui/MessageIds.h"
#include "upload/UploadText.h"

namespace varnow {
namespace {

std::string Hex16(std::uint16_t value) {
    char text[8];
    std::snprintf(text, sizeof text, "%04X", value);
    return text;
}

// A "kFoS" frame (the image's head or tail): its signature and the CRC of its first bytes.
std::optional<OutcomeText> FrameProblem(ByteView frame, std::size_t crcField, int badSignature,
                                        int badCrc) {
    if (ReadLe32(frame, 0) != kKofsMagic) {
        return OutcomeText{badSignature, {}};
    }
    const std::uint16_t computed = Crc16(frame.first(kCrcCoveredBytes));
    const std::uint16_t stored = ReadLe16(frame, crcField);
    if (computed != stored) {
        return OutcomeText{badCrc, {Hex16(stored), Hex16(computed)}};
    }
    return std::nullopt;
}

std::optional<OutcomeText> FirmwareProblem(ByteView firmware) {
    if (firmware.size() < kFirmwareHeaderSize) {
        return OutcomeText{kTextFirmwareTooShort, {std::to_string(kFirmwareHeaderSize)}};
    }
    const std::uint16_t computed = Crc16(firmware.subspan(kFirmwareHeaderSize));
    const std::uint16_t stored = ReadLe16(firmware, kFirmwareCrcField);
    if (computed != stored) {
        return OutcomeText{kTextFirmwareCrcWrong, {Hex16(stored), Hex16(computed)}};
    }
    return std::nullopt;
}

}  // namespace

std::optional<OutcomeText> DescribePackageProblem(ByteView package) {
    if (package.size() < kHeadFixedSize) {
        return OutcomeText{kTextNotAPackage, {}};
    }
    const std::uint32_t word = ReadLe32(package, 0);
    if (word == kFirmwareMagicF1 || word == kFirmwareMagicF4) {
        return FirmwareProblem(package);
    }
    if (word != kKofsMagic) {
        return OutcomeText{kTextNotAPackage, {}};
    }
    if (auto head =
            FrameProblem(package, kHeadCrcField, kTextHeadSignatureWrong, kTextHeadCrcWrong)) {
        return head;
    }
    const std::size_t imageLength = 1024u * std::size_t{ReadLe16(package, kHeadSizeField)};
    if (imageLength < kHeadFixedSize || imageLength > package.size()) {
        return OutcomeText{kTextImagePastEnd,
                           {std::to_string(imageLength), std::to_string(package.size())}};
    }
    const ByteView tail = package.subspan(imageLength - kTailSize, kTailSize);
    if (auto problem =
            FrameProblem(tail, kTailCrcField, kTextTailSignatureWrong, kTextTailCrcWrong)) {
        return problem;
    }
    if (!UploadTextFits(imageLength)) {
        return OutcomeText{kTextImageTooLarge, {std::to_string(imageLength)}};
    }
    if (imageLength < package.size()) {
        return FirmwareProblem(package.subspan(imageLength));
    }
    return std::nullopt;
}

}  // namespace varnow
