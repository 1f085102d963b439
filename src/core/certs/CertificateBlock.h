#pragma once

#include <cstdint>
#include <optional>

#include "common/Bytes.h"
#include "ui/Messenger.h"

namespace varnow {

inline constexpr std::uint32_t kCertificateMagic = 0x436E5665;  // "eVnC"
inline constexpr std::size_t kCertificateBufferSize = 65536;
inline constexpr std::size_t kMaxCertificateBlockBytes = 65535;  // the 16-bit total length
inline constexpr std::size_t kMaxPrimeBytes = 128;

inline constexpr std::uint8_t kCertRecordType = 0x0B;
inline constexpr std::uint8_t kKeySubtype = 0x00;
inline constexpr std::uint8_t kCertificateSubtype = 0x02;
inline constexpr std::uint8_t kCarriedSubtypeA = 0x07;
inline constexpr std::uint8_t kCarriedSubtypeB = 0x08;
inline constexpr std::size_t kKeyRecordLength = 264;

// The record area of the certificate block last read from the board.
struct CertificateRecordStore {
    Bytes records;
    // Valid bytes in `records`: 0 when the board gave no block, -1 when its magic or header
    // CRC was wrong.
    int length = 0;
};

// Parses a decoded block. A block of 16 bytes or fewer, or one larger than the 65,536-byte
// buffer it is delivered into, counts as no block.
CertificateRecordStore LoadCertificateRecords(ByteView block);

struct CertificateLookup {
    int result = 0;  // content length, 0 when there is no certificate record, -1 when malformed
    Bytes content;   // DER data and padding
};

// Whether a decoded block is whole and sound: its magic, header CRC and total length right,
// and its records, each with a sound CRC, filling it exactly. Only such a block may be the
// ground of a new one (its carried records go into it).
bool CertificateBlockIsSound(ByteView block);

// Looks up the certificate record. A record walk that meets a record of length 0 or one
// running past the area also gives -1: the store is damaged.
CertificateLookup FindCertificateRecord(const CertificateRecordStore& store);

// Whether the store's certificate record holds exactly these DER bytes (and its padding).
bool HoldsCertificate(const CertificateRecordStore& store, ByteView der);

// Builds a new block: the key record with the primes p and q (big-endian; at most 128 bytes
// each once leading zeros are dropped), the certificate record with the DER bytes, then the
// store's carried records (subtypes 0x07 and 0x08) in their order. Tells the user and returns
// nullopt when a prime is too long or the block would exceed 65,535 bytes.
std::optional<Bytes> PackCertificateBlock(ByteView p, ByteView q, ByteView der,
                                          const CertificateRecordStore& store,
                                          Messenger& messenger);

}  // namespace varnow
