// Certificate record store parsing, the certificate lookup and packing with carried records.
#include <cstddef>
#include <cstdint>

#include "certs/CertificateBlock.h"
#include "ui/MessageHost.h"

namespace {

class SilentHost : public varnow::MessageHost {
public:
    varnow::MessageResult ShowMessage(const varnow::Message&) override {
        return varnow::MessageResult::Ok;
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const varnow::StringTable strings = varnow::StringTable::BuiltIn();
    SilentHost host;
    varnow::Messenger messenger(host, strings, varnow::Language::English);
    const varnow::ByteView bytes(data, size);
    const varnow::CertificateRecordStore store = varnow::LoadCertificateRecords(bytes);
    const varnow::CertificateLookup lookup = varnow::FindCertificateRecord(store);
    if (lookup.result > 0 && static_cast<std::size_t>(lookup.result) != lookup.content.size()) {
        __builtin_trap();
    }
    const std::size_t primeBytes = size % 130;
    const varnow::Bytes prime(primeBytes, 0xA5);
    const auto block = varnow::PackCertificateBlock(prime, prime, bytes.first(size / 2), store,
                                                    messenger);
    if (block && (block->size() > 65535 || varnow::ReadLe16(*block, 4) != block->size())) {
        __builtin_trap();
    }
    return 0;
}
