// Certificate record store parsing, the certificate lookup and packing with carried records.
#include <cstddef>
#include <cstdint>

#include "SilentMessenger.h"
#include "certs/CertificateBlock.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static SilentMessenger silent;
    varnow::Messenger& messenger = silent.messenger;
    const varnow::ByteView bytes(data, size);
    const varnow::CertificateRecordStore store = varnow::LoadCertificateRecords(bytes);
    const varnow::CertificateLookup lookup = varnow::FindCertificateRecord(store);
    if (lookup.result > 0 && static_cast<std::size_t>(lookup.result) != lookup.content.size()) {
        __builtin_trap();
    }
    const std::size_t primeBytes = size % 130;
    const varnow::Bytes prime(primeBytes, 0xA5);
    const auto block =
        varnow::PackCertificateBlock(prime, prime, bytes.first(size / 2), store, messenger);
    if (block && (block->size() > 65535 || varnow::ReadLe16(*block, 4) != block->size())) {
        __builtin_trap();
    }
    return 0;
}
