// Certificate and key files as the import reads them (DER, PEM, PKCS#12), and the report of
// any certificate that decodes, including the country name put into it.
#include <cstddef>
#include <cstdint>

#include "certs/CertificateFiles.h"
#include "certs/CertificateReport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const varnow::ByteView bytes(data, size);
    const varnow::PasswordSource password = [] { return std::optional<std::string>("fuzz"); };
    std::optional<varnow::Certificate> certificate = varnow::ReadDerCertificate(bytes);
    if (!certificate) {
        certificate = varnow::ReadPemCertificate(bytes, password);
    }
    if (certificate) {
        const std::string report = varnow::CertificateReport(*certificate);
        const varnow::CertificateSummary summary = varnow::SummariseCertificate(*certificate);
        if (report.find("Validity\r\n") == std::string::npos || summary.sha256.size() != 64) {
            __builtin_trap();
        }
    }
    if (const auto key = varnow::ReadDerPrivateKey(bytes)) {
        (void)key->Primes();
    }
    (void)varnow::ReadPemPrivateKey(bytes, password);
    (void)varnow::ReadPkcs12(bytes, "fuzz");
    (void)varnow::WithCountryName(std::string(bytes.begin(), bytes.end()));
    return 0;
}
