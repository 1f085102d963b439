#include "package/RecordNames.h"

#include <algorithm>

#include "common/BoardText.h"
#include "package/PackageFormat.h"

namespace varnow {
namespace {

constexpr std::size_t kRecordHeadSize = 4;

struct RecordHead {
    std::uint8_t type;
    std::uint8_t subtype;
    std::size_t length;
};

RecordHead ReadRecordHead(ByteView bytes, std::size_t at) {
    return {bytes[at], bytes[at + 1], ReadLe16(bytes, at + 2)};
}

std::string NameText(ByteView content, std::size_t limit) {
    const ByteView name = UpToFirstNul(content);
    return BoardTextToUtf8(name.first(std::min(name.size(), limit)));
}

}  // namespace

std::string ImageName(ByteView head) {
    if (head.size() <= kHeadLengthField) {
        return {};
    }
    // The head length may claim more than was received; the walk never leaves the bytes held.
    const std::size_t end = std::min<std::size_t>(4u * head[kHeadLengthField], head.size());
    std::size_t at = kHeadFixedSize;
    while (at < end && end - at >= kRecordHeadSize) {
        const RecordHead record = ReadRecordHead(head, at);
        if (record.length == 0 || end - at < record.length) {
            break;
        }
        if (record.type == kImageNameRecord && record.subtype == 0) {
            if (record.length < kRecordHeadSize) {
                break;
            }
            return NameText(head.subspan(at + kRecordHeadSize, record.length - kRecordHeadSize),
                            kMaxImageNameBytes);
        }
        at += record.length;
    }
    return {};
}

FirmwareNameResult FirmwareName(ByteView tailBlock) {
    std::size_t at = 0;
    while (at < tailBlock.size()) {
        // Fewer bytes than a record head read as a record of length 0.
        if (tailBlock.size() - at < kRecordHeadSize) {
            return {{}, true};
        }
        const RecordHead record = ReadRecordHead(tailBlock, at);
        if (record.length == 0 || tailBlock.size() - at < record.length) {
            return {{}, true};
        }
        if (record.type == kFirmwareNameRecord && record.subtype == 0 &&
            record.length > kRecordHeadSize) {
            const ByteView content =
                tailBlock.subspan(at + kRecordHeadSize, record.length - kRecordHeadSize);
            return {NameText(content, content.size()), false};
        }
        at += record.length;
    }
    return {};
}

}  // namespace varnow
