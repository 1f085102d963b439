#include "settings/EnvironmentBlock.h"

#include <algorithm>

#include "base64/Base64Decoder.h"
#include "base64/Base64Encoder.h"
#include "crypto/Crc16.h"
#include "settings/EnvironmentRecords.h"
#include "ui/MessageIds.h"

namespace varnow {
namespace {

constexpr std::size_t kHeaderSize = 16;
constexpr std::size_t kRecordHeadSize = 4;
constexpr std::size_t kRecordOverhead = 6;  // head and checksum

struct Record {
    std::size_t at = 0;
    std::size_t length = 0;
    std::uint8_t type = 0;
    std::uint8_t subtype = 0;
    std::uint16_t key() const { return static_cast<std::uint16_t>((type << 8) | subtype); }
    std::size_t payloadAt() const { return at + kRecordHeadSize; }
    std::size_t payloadLength() const { return length - kRecordOverhead; }
};

enum class Visit { Continue, End, Fail };

struct WalkResult {
    bool wellFormed = false;
    std::size_t endOfEndRecord = 0;  // 0 when the records ran out without an end record
};

// Walks the records from offset 16. A record must hold its head and checksum (6 bytes at
// least) and end inside the block; anything else makes the block malformed.
template <typename OnRecord>
WalkResult WalkRecords(ByteView block, OnRecord&& onRecord) {
    std::size_t at = kHeaderSize;
    while (at < block.size()) {
        if (block.size() - at < kRecordHeadSize) {
            return {};
        }
        Record record{at, ReadLe16(block, at + 2), block[at], block[at + 1]};
        if (record.length < kRecordOverhead || record.length > block.size() - at) {
            return {};
        }
        switch (onRecord(record)) {
            case Visit::Fail:
                return {};
            case Visit::End:
                return {true, at + record.length};
            case Visit::Continue:
                break;
        }
        at += record.length;
    }
    return {true, 0};
}

void CopyFromPayload(ByteView payload, std::size_t offset, std::span<std::uint8_t> field) {
    if (offset < payload.size()) {
        const std::size_t count = std::min(field.size(), payload.size() - offset);
        std::copy_n(payload.begin() + static_cast<std::ptrdiff_t>(offset), count, field.begin());
    }
}

void CopyToPayload(std::span<std::uint8_t> payload, std::size_t offset, ByteView field) {
    if (offset < payload.size()) {
        const std::size_t count = std::min(field.size(), payload.size() - offset);
        std::copy_n(field.begin(), count, payload.begin() + static_cast<std::ptrdiff_t>(offset));
    }
}

// Fields shorter in the record than in the store read as zeros beyond the record's end.
struct FieldReader {
    ByteView payload;
    template <std::size_t N>
    void operator()(std::size_t offset, std::array<std::uint8_t, N>& field) const {
        CopyFromPayload(payload, offset, field);
    }
    void operator()(std::size_t offset, std::uint16_t& field) const {
        std::array<std::uint8_t, 2> bytes{};
        CopyFromPayload(payload, offset, bytes);
        field = ReadLe16(bytes, 0);
    }
    void operator()(std::size_t offset, std::uint32_t& field) const {
        std::array<std::uint8_t, 4> bytes{};
        CopyFromPayload(payload, offset, bytes);
        field = ReadLe32(bytes, 0);
    }
};

// Only the part of a field that lies inside the record is written.
struct FieldWriter {
    std::span<std::uint8_t> payload;
    template <std::size_t N>
    void operator()(std::size_t offset, const std::array<std::uint8_t, N>& field) const {
        CopyToPayload(payload, offset, field);
    }
    void operator()(std::size_t offset, std::uint16_t field) const {
        std::array<std::uint8_t, 2> bytes{};
        WriteLe16(bytes, 0, field);
        CopyToPayload(payload, offset, bytes);
    }
    void operator()(std::size_t offset, std::uint32_t field) const {
        std::array<std::uint8_t, 4> bytes{};
        WriteLe32(bytes, 0, field);
        CopyToPayload(payload, offset, bytes);
    }
};

bool HeaderIsSound(ByteView block) {
    return block.size() >= kHeaderSize && ReadLe32(block, 0) == kEnvironmentMagic &&
           Crc16(block.first(6)) == ReadLe16(block, 6);
}

void DecodeRecord(const Record& record, ByteView block, EnvironmentData& data) {
    const ByteView payload = block.subspan(record.payloadAt(), record.payloadLength());
    if (VisitRecordFields(record.type, record.subtype, data.store, FieldReader{payload})) {
        // fixed fields stored
    } else if (record.key() == kProductNameRecord && !payload.empty()) {
        data.store.productName.assign(payload.begin(), payload.end());
    } else if ((record.key() == kDot1xIdRecord || record.key() == kDot1xPasswordRecord) &&
               payload.size() > 2) {
        Bytes text(payload.begin(), payload.end() - 2);  // the last two bytes are carried
        (record.key() == kDot1xIdRecord ? data.dot1xId : data.dot1xPassword) = std::move(text);
    }
    if (record.type == kWlanRecordType) {
        data.wlanPresent = true;
    }
}

bool PatchRecord(const Record& record, std::span<std::uint8_t> block, const EnvironmentData& data) {
    const std::span<std::uint8_t> payload =
        block.subspan(record.payloadAt(), record.payloadLength());
    const SettingsStore& store = data.store;
    if (VisitRecordFields(record.type, record.subtype, store, FieldWriter{payload})) {
        // fixed fields written
    } else if (record.key() == kProductNameRecord) {
        CopyToPayload(payload, 0, store.productName);
    } else if (record.key() == kDot1xIdRecord || record.key() == kDot1xPasswordRecord) {
        const auto& text = (record.key() == kDot1xIdRecord) ? data.dot1xId : data.dot1xPassword;
        if (text && payload.size() > 2) {
            CopyToPayload(payload.first(payload.size() - 2), 0, *text);
        }
    } else {
        return false;  // not a record the tool writes: left exactly as received
    }
    const std::size_t crcAt = record.at + record.length - 2;
    WriteLe16(block, crcAt, Crc16(ByteView(block).subspan(record.at, record.length - 2)));
    return true;
}

}  // namespace

std::optional<std::string> EnvironmentText(ByteView block) {
    if (Base64EncodedLength(block.size()) + 1 > kEnvironmentBufferSize) {
        return std::nullopt;
    }
    return EncodeBase64(block);
}

bool DecodeEnvironmentBlock(ByteView text, EnvironmentData& data, Messenger& messenger) {
    data.wlanPresent = false;
    if (text.empty()) {
        messenger.Show(kMsgNoConfigurationValue, MessageStyle::Warning);
        return false;
    }
    return DecodeEnvironmentBytes(DecodeBase64(text), data);
}

bool DecodeEnvironmentBytes(Bytes block, EnvironmentData& data) {
    data.wlanPresent = false;
    data.store = SettingsStore{};
    if (block.size() > kEnvironmentBufferSize) {
        data.blockCopy.clear();
        return false;
    }
    data.blockCopy = std::move(block);
    const ByteView copy = data.blockCopy;
    if (!HeaderIsSound(copy)) {
        return false;
    }
    data.dot1xId.reset();
    data.dot1xPassword.reset();
    const WalkResult walk = WalkRecords(copy, [&](const Record& record) {
        const std::size_t crcAt = record.at + record.length - 2;
        if (Crc16(copy.subspan(record.at, record.length - 2)) != ReadLe16(copy, crcAt)) {
            return Visit::Fail;
        }
        if (record.type == kEndRecordType) {
            return Visit::End;
        }
        DecodeRecord(record, copy, data);
        return Visit::Continue;
    });
    return walk.wellFormed;
}

std::optional<std::string> EncodeEnvironmentBlock(EnvironmentData& data) {
    const std::optional<Bytes> block = PatchEnvironmentBlock(data);
    return block ? EnvironmentText(*block) : std::nullopt;
}

std::optional<Bytes> PatchEnvironmentBlock(EnvironmentData& data) {
    std::span<std::uint8_t> block = data.blockCopy;
    if (block.size() < kHeaderSize) {
        return std::nullopt;
    }
    const WalkResult walk = WalkRecords(block, [&](const Record& record) {
        if (record.type == kEndRecordType) {
            return Visit::End;
        }
        PatchRecord(record, block, data);
        return Visit::Continue;
    });
    if (!walk.wellFormed) {
        return std::nullopt;
    }
    // Without an end record the whole block goes back, its header as received.
    const std::size_t length = walk.endOfEndRecord != 0 ? walk.endOfEndRecord : block.size();
    if (Base64EncodedLength(length) + 1 > kEnvironmentBufferSize) {
        return std::nullopt;
    }
    if (walk.endOfEndRecord != 0) {
        WriteLe32(block, 0, kEnvironmentMagic);
        WriteLe16(block, 6, Crc16(ByteView(block).first(6)));
    }
    return Bytes(block.begin(), block.begin() + static_cast<std::ptrdiff_t>(length));
}

}  // namespace varnow
