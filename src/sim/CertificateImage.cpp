#include "CertificateImage.h"

#include "BoardCodec.h"

namespace varnow::sim::certificates {
namespace {

constexpr std::size_t kHeaderSize = 16;
constexpr std::size_t kRecordOverhead = 6;

void PutLe16(Bytes& bytes, std::size_t at, std::size_t value) {
    bytes[at] = static_cast<std::uint8_t>(value & 0xFF);
    bytes[at + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

std::size_t GetLe16(const Bytes& bytes, std::size_t at) {
    return static_cast<std::size_t>(bytes[at] | (bytes[at + 1] << 8));
}

void AppendRecord(Bytes& block, std::uint8_t subtype, const Bytes& payload) {
    const std::size_t at = block.size();
    const std::size_t length = payload.size() + kRecordOverhead;
    block.resize(at + 4);
    block[at] = 0x0B;
    block[at + 1] = subtype;
    PutLe16(block, at + 2, length);
    block.insert(block.end(), payload.begin(), payload.end());
    block.resize(at + length);
    PutLe16(block, at + length - 2, codec::Crc16(block.data() + at, length - 2));
}

}  // namespace

Bytes FactoryBlock() {
    Bytes block(kHeaderSize, 0);
    AppendRecord(block, 0x07, Bytes{0x70, 0x71, 0x72, 0x73, 0x74, 0x75, 0x76, 0x77, 0x78, 0x79});
    AppendRecord(block, 0x08, Bytes{0x80, 0x81, 0x82, 0x83, 0x84, 0x85});
    block[0] = 'e';
    block[1] = 'V';
    block[2] = 'n';
    block[3] = 'C';
    PutLe16(block, 4, block.size());
    PutLe16(block, 6, codec::Crc16(block.data(), 6));
    return block;
}

std::string Problem(const Bytes& block) {
    if (block.size() < kHeaderSize || block[0] != 'e' || block[1] != 'V' || block[2] != 'n' ||
        block[3] != 'C') {
        return "no certificate block";
    }
    if (GetLe16(block, 6) != codec::Crc16(block.data(), 6)) {
        return "header crc";
    }
    if (GetLe16(block, 4) != block.size()) {
        return "length";
    }
    for (std::size_t at = kHeaderSize; at < block.size();) {
        if (block.size() - at < kRecordOverhead) {
            return "record cut off";
        }
        const std::size_t length = GetLe16(block, at + 2);
        if (length < kRecordOverhead || length > block.size() - at) {
            return "record length";
        }
        if (GetLe16(block, at + length - 2) != codec::Crc16(block.data() + at, length - 2)) {
            return "record crc";
        }
        at += length;
    }
    return {};
}

}  // namespace varnow::sim::certificates
