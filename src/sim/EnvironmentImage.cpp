#include "EnvironmentImage.h"

#include "BoardCodec.h"

namespace varnow::sim::environment {
namespace {

void PutLe16(Bytes& bytes, std::size_t at, std::uint16_t value) {
    bytes[at] = static_cast<std::uint8_t>(value & 0xFF);
    bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

std::uint16_t GetLe16(const Bytes& bytes, std::size_t at) {
    return static_cast<std::uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}

Bytes Le32(std::uint32_t value) {
    return {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
            static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
}

Bytes Text(const std::string& text, std::size_t size) {
    Bytes bytes(text.begin(), text.end());
    bytes.resize(size, 0);
    return bytes;
}

void Append(Bytes& block, std::uint8_t type, std::uint8_t subtype, const Bytes& payload) {
    const std::size_t at = block.size();
    const std::size_t length = payload.size() + 6;
    block.push_back(type);
    block.push_back(subtype);
    block.resize(at + 4);
    PutLe16(block, at + 2, static_cast<std::uint16_t>(length));
    block.insert(block.end(), payload.begin(), payload.end());
    block.resize(at + length);
    PutLe16(block, at + length - 2, codec::Crc16(block.data() + at, length - 2));
}

}  // namespace

Bytes FactoryBlock(const Options& options) {
    Bytes block{'e',  'V',  'n',  'S',  0x01, 0x00, 0,    0,
                0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88};
    PutLe16(block, 6, codec::Crc16(block.data(), 6));
    Append(block, 2, 1, {0x34, 0x12});
    Append(block, 3, 0, {192, 168, 0, 100});
    Append(block, 3, 1, {255, 255, 255, 0});
    Append(block, 3, 2, {192, 168, 0, 1});
    Append(block, 3, 3, {8, 8, 8, 8});
    Bytes ipv6{0x20, 0x01, 0x0d, 0xb8, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x64, 64, 0};
    Append(block, 4, 0, ipv6);
    Append(block, 4, 2, Bytes{0xfe, 0x80, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x01});
    Append(block, 4, 3, Bytes(16, 0));
    // Static IPv4, IPv6 off (static IPv6 kept), wireless LAN enabled when it has records.
    const std::uint32_t flags = 0x0800 | (options.wlanRecords ? 0x80 : 0) | 0x00010000;
    Append(block, 5, 0, Le32(flags));
    Append(block, 6, 0, Bytes{1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    Append(block, 6, 1, Bytes{10, 9, 8, 7, 6, 5, 4, 3, 2, 1});
    Append(block, 8, 3, Bytes(48, 0x5A));
    if (options.wlanRecords) {
        Bytes id = Text("lab-user", 32);
        id.insert(id.end(), {0xAB, 0xCD});
        Append(block, 8, 4, id);
        Bytes password = Text("lab-secret", 32);
        password.insert(password.end(), {0xEF, 0x01});
        Append(block, 8, 5, password);
        // Infrastructure, automatic channel, no WEP key, 802.11b/g, short preamble.
        const std::uint32_t wlan = 1 | (3u << 25) | (1u << 28) | 0x00004000;
        Append(block, 9, 0, Le32(wlan));
        Append(block, 9, 1, Text("varno-lab", 32));
        Append(block, 9, 2, Bytes(20, 0));
        Append(block, 9, 3, Bytes(52, 0));
        Append(block, 9, 8, Text("", 63));
        Append(block, 9, 9, Bytes(32, 0));
    }
    Append(block, 10, 0, Bytes{0xA0, 0xA1, 0xA2, 0xA3, 0xA4, 0xA5, 0xA6, 0xA7, 0xA8, 0xA9});
    Append(block, 12, 0, Bytes(options.productName.begin(), options.productName.end()));
    Bytes future(options.futureRecordBytes, '.');  // a record of the future: kept as it is
    Append(block, 20, 7, future);
    Append(block, 255, 0, {});
    return block;
}

std::string Problem(const Bytes& block) {
    if (block.size() < 16 || block[0] != 'e' || block[1] != 'V' || block[2] != 'n' ||
        block[3] != 'S') {
        return "no settings block";
    }
    if (codec::Crc16(block.data(), 6) != GetLe16(block, 6)) {
        return "header checksum";
    }
    for (std::size_t at = 16; at < block.size();) {
        if (block.size() - at < 6) {
            return "cut-off record";
        }
        const std::size_t length = GetLe16(block, at + 2);
        if (length < 6 || length > block.size() - at) {
            return "record length";
        }
        if (codec::Crc16(block.data() + at, length - 2) != GetLe16(block, at + length - 2)) {
            return "record checksum";
        }
        if (block[at] == 255) {
            break;
        }
        at += length;
    }
    return {};
}

}  // namespace varnow::sim::environment
