#include "certs/CertificateBlock.h"

#include <algorithm>
#include <functional>

#include "crypto/Crc16.h"
#include "ui/MessageIds.h"
#include "ui/StringTable.h"

namespace varnow {
namespace {

constexpr std::size_t kHeaderSize = 16;
constexpr std::size_t kRecordHeadSize = 4;
constexpr std::size_t kRecordOverhead = 6;

struct Record {
    std::size_t at;
    std::uint8_t type;
    std::uint8_t subtype;
    std::size_t length;
};

// Walks the record area; `visit` returns true to stop. Returns false when a record of
// length 0, a record running past the area or a cut-off record head is met.
bool WalkRecords(ByteView area, const std::function<bool(const Record&)>& visit) {
    std::size_t at = 0;
    while (at < area.size()) {
        if (area.size() - at < kRecordHeadSize) {
            return false;
        }
        const Record record{at, area[at], area[at + 1], ReadLe16(area, at + 2)};
        if (record.length == 0 || record.length > area.size() - at) {
            return false;
        }
        if (visit(record)) {
            return true;
        }
        at += record.length;
    }
    return true;
}

ByteView StoredArea(const CertificateRecordStore& store) {
    if (store.length < 1) {
        return {};
    }
    return ByteView(store.records).first(std::min<std::size_t>(store.records.size(), store.length));
}

ByteView WithoutLeadingZeros(ByteView number) {
    const auto first = std::find_if(number.begin(), number.end(), [](std::uint8_t b) { return b; });
    return number.subspan(static_cast<std::size_t>(first - number.begin()));
}

void AppendRecordHead(Bytes& block, std::uint8_t subtype, std::size_t length) {
    block.push_back(kCertRecordType);
    block.push_back(subtype);
    block.push_back(static_cast<std::uint8_t>(length & 0xFF));
    block.push_back(static_cast<std::uint8_t>(length >> 8));
}

// Appends the record's CRC over everything of it written so far (from `recordAt`).
void AppendRecordCrc(Bytes& block, std::size_t recordAt) {
    const std::uint16_t crc = Crc16(ByteView(block).subspan(recordAt));
    block.push_back(static_cast<std::uint8_t>(crc & 0xFF));
    block.push_back(static_cast<std::uint8_t>(crc >> 8));
}

void AppendKeyRecord(Bytes& block, ByteView p, ByteView q) {
    const std::size_t at = block.size();
    AppendRecordHead(block, kKeySubtype, kKeyRecordLength);
    for (ByteView prime : {p, q}) {
        block.insert(block.end(), kMaxPrimeBytes - prime.size(), 0);  // right-aligned
        block.insert(block.end(), prime.begin(), prime.end());
    }
    block.insert(block.end(), 2, 0);
    AppendRecordCrc(block, at);
}

void AppendCertificateRecord(Bytes& block, ByteView der, std::size_t length) {
    const std::size_t at = block.size();
    AppendRecordHead(block, kCertificateSubtype, length);
    block.insert(block.end(), der.begin(), der.end());
    block.insert(block.end(), length - kRecordOverhead - der.size(), 0);
    AppendRecordCrc(block, at);
}

Bytes CarriedRecords(const CertificateRecordStore& store) {
    const ByteView area = StoredArea(store);
    Bytes carried;
    WalkRecords(area, [&](const Record& record) {
        if (record.type == kCertRecordType &&
            (record.subtype == kCarriedSubtypeA || record.subtype == kCarriedSubtypeB)) {
            const ByteView bytes = area.subspan(record.at, record.length);
            carried.insert(carried.end(), bytes.begin(), bytes.end());
        }
        return false;
    });
    return carried;
}

}  // namespace

CertificateRecordStore LoadCertificateRecords(ByteView block) {
    CertificateRecordStore store;
    if (block.size() <= kHeaderSize || block.size() > kCertificateBufferSize) {
        return store;
    }
    store.records.assign(block.begin() + kHeaderSize, block.end());
    store.length = static_cast<int>(store.records.size());
    if (ReadLe32(block, 0) != kCertificateMagic || Crc16(block.first(6)) != ReadLe16(block, 6)) {
        store.length = -1;
    }
    return store;
}

bool CertificateBlockIsSound(ByteView block) {
    if (block.size() <= kHeaderSize || block.size() > kMaxCertificateBlockBytes ||
        ReadLe32(block, 0) != kCertificateMagic || Crc16(block.first(6)) != ReadLe16(block, 6) ||
        ReadLe16(block, 4) != block.size()) {
        return false;
    }
    const ByteView area = block.subspan(kHeaderSize);
    bool sound = true;
    const bool walked = WalkRecords(area, [&](const Record& record) {
        const ByteView bytes = area.subspan(record.at, record.length);
        sound = record.length >= kRecordOverhead &&
                Crc16(bytes.first(record.length - 2)) == ReadLe16(bytes, record.length - 2);
        return !sound;
    });
    return walked && sound;
}

CertificateLookup FindCertificateRecord(const CertificateRecordStore& store) {
    const ByteView area = StoredArea(store);
    CertificateLookup lookup;
    const bool walked = WalkRecords(area, [&](const Record& record) {
        if (record.type != kCertRecordType || record.subtype != kCertificateSubtype) {
            return false;
        }
        const ByteView bytes = area.subspan(record.at, record.length);
        if (record.length < kRecordOverhead ||
            Crc16(bytes.first(record.length - 2)) != ReadLe16(bytes, record.length - 2)) {
            lookup.result = -1;
            return true;
        }
        lookup.content.assign(bytes.begin() + kRecordHeadSize, bytes.end() - 2);
        lookup.result = static_cast<int>(lookup.content.size());
        return true;
    });
    if (!walked) {
        return {-1, {}};
    }
    return lookup;
}

std::optional<Bytes> PackCertificateBlock(ByteView p, ByteView q, ByteView der,
                                          const CertificateRecordStore& store,
                                          Messenger& messenger) {
    p = WithoutLeadingZeros(p);
    q = WithoutLeadingZeros(q);
    if (p.size() > kMaxPrimeBytes) {
        messenger.ShowText(
            FillPlaceholders("Invalid RSA P length [%d]", {std::to_string(p.size())}),
            MessageStyle::Warning);
        return std::nullopt;
    }
    if (q.size() > kMaxPrimeBytes) {
        messenger.ShowText(
            FillPlaceholders("Invalid RSA Q length [%d]", {std::to_string(q.size())}),
            MessageStyle::Warning);
        return std::nullopt;
    }
    const std::size_t certificateLength = (der.size() + kRecordOverhead + 3) / 4 * 4;
    const Bytes carried = CarriedRecords(store);
    const std::size_t total = kHeaderSize + kKeyRecordLength + certificateLength + carried.size();
    if (total > kMaxCertificateBlockBytes) {
        messenger.Show(kMsgCertificateTooLarge, MessageStyle::Warning,
                       {std::to_string(total), std::to_string(kMaxCertificateBlockBytes)});
        return std::nullopt;
    }
    Bytes block;
    block.reserve(total);  // built in place: the primes leave no copy behind
    block.resize(kHeaderSize, 0);
    WriteLe32(block, 0, kCertificateMagic);
    WriteLe16(block, 4, static_cast<std::uint16_t>(total));
    WriteLe16(block, 6, Crc16(ByteView(block).first(6)));
    AppendKeyRecord(block, p, q);
    AppendCertificateRecord(block, der, certificateLength);
    block.insert(block.end(), carried.begin(), carried.end());
    return block;
}

bool HoldsCertificate(const CertificateRecordStore& store, ByteView der) {
    const CertificateLookup lookup = FindCertificateRecord(store);
    if (lookup.result < 0 || lookup.content.size() < der.size() || der.empty()) {
        return false;
    }
    const ByteView content(lookup.content);
    const ByteView padding = content.subspan(der.size());
    return std::equal(der.begin(), der.end(), content.begin()) && padding.size() < 4 &&
           std::all_of(padding.begin(), padding.end(), [](auto b) { return b == 0; });
}

}  // namespace varnow
