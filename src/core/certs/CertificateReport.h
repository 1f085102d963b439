#pragma once

#include <string>

#include "certs/TlsObjects.h"

namespace varnow {

// The text of the "Certificate Information" dialog, lines ended by CR LF: the issuer (when it
// has a country), the validity, the subject (when it has a country) and the public key.
std::string CertificateReport(const Certificate& certificate);

// Inserts " - <country name>" after the country code of a name printed one attribute a line.
// Text without "countryName" is returned as it is.
std::string WithCountryName(std::string printedName);

// What scripts want of a certificate.
struct CertificateSummary {
    std::string subject;  // one line, RFC 2253
    std::string issuer;
    std::string notBefore;  // ISO 8601, UTC
    std::string notAfter;
    std::string serial;  // hexadecimal
    std::string keyAlgorithm;
    int keyBits = 0;
    std::string sha256;  // fingerprint of the DER bytes, hexadecimal
};
CertificateSummary SummariseCertificate(const Certificate& certificate);

}  // namespace varnow
