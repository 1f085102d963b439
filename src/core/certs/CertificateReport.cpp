#include "certs/CertificateReport.h"

#include <openssl/asn1.h>
#include <openssl/bn.h>

#include <cstdio>
#include <ctime>

#include "certs/CountryTable.h"
#include "certs/OpenSslHandles.h"

namespace varnow {
namespace {

constexpr std::size_t kMostPieceBytes = 10000;

std::string WithCrLf(const std::string& text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (char c : text) {
        if (c == '\n') {
            out += '\r';
        }
        out += c;
    }
    return out;
}

template <typename Print>
std::string Printed(Print print) {
    ssl::BioPtr bio = ssl::WriteBio();
    print(bio.get());
    std::string text = ssl::BioText(bio.get(), kMostPieceBytes);
    ssl::ForgetErrors();
    return text;
}

// Names as UTF-8 text: Korean and other non-ASCII values read as written, not as "\ED\83"
// escapes; control characters stay escaped.
constexpr unsigned long kAsText = ASN1_STRFLGS_UTF8_CONVERT;
constexpr unsigned long kNoEscapes = ~static_cast<unsigned long>(ASN1_STRFLGS_ESC_MSB);

std::string MultiLineName(const X509_NAME* name) {
    return Printed([name](BIO* bio) {
        X509_NAME_print_ex(bio, name, 4, (XN_FLAG_MULTILINE & kNoEscapes) | kAsText);
    });
}

// A name's section of the report; empty when the name has no country.
std::string NameSection(const char* title, const X509_NAME* name) {
    const std::string printed = MultiLineName(name);
    if (printed.find("countryName") == std::string::npos) {
        return {};
    }
    return std::string(title) + " :\r\n" + WithCrLf(WithCountryName(printed)) + "\r\n\r\n";
}

// ASN1_TIME_print takes both UTCTime and GeneralizedTime (years from 2050 on).
std::string TimeText(const ASN1_TIME* time) {
    return Printed([time](BIO* bio) { ASN1_TIME_print(bio, time); });
}

std::string IsoTime(const ASN1_TIME* time) {
    std::tm tm{};
    if (ASN1_TIME_to_tm(time, &tm) != 1) {
        return {};
    }
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02dZ", tm.tm_year + 1900,
                  tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec);
    return text;
}

std::string Hex(const unsigned char* bytes, unsigned size) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    for (unsigned i = 0; i < size; ++i) {
        text += kDigits[bytes[i] >> 4];
        text += kDigits[bytes[i] & 0xF];
    }
    return text;
}

}  // namespace

std::string WithCountryName(std::string printedName) {
    const std::size_t country = printedName.find("countryName");
    if (country == std::string::npos) {
        return printedName;
    }
    const std::size_t equals = printedName.find("= ", country);
    if (equals == std::string::npos || equals + 4 > printedName.size()) {
        return printedName;
    }
    const std::size_t code = equals + 2;
    printedName.insert(code + 2, " - " + CountryNameForCode(printedName.substr(code, 2)));
    return printedName;
}

std::string CertificateReport(const Certificate& certificate) {
    X509* x509 = certificate.get();
    std::string report = NameSection("Issuer", X509_get_issuer_name(x509));
    report += "Validity\r\n";
    report += "    Not Before : " + TimeText(X509_get0_notBefore(x509)) + "\r\n";
    report += "    Not After  : " + TimeText(X509_get0_notAfter(x509)) + "\r\n\r\n";
    report += NameSection("Subject", X509_get_subject_name(x509));
    report += "Subject Public Key Info :\r\n";
    ASN1_OBJECT* algorithm = nullptr;
    if (X509_PUBKEY_get0_param(&algorithm, nullptr, nullptr, nullptr, X509_get_X509_PUBKEY(x509)) ==
        1) {
        const std::string name =
            Printed([algorithm](BIO* bio) { i2a_ASN1_OBJECT(bio, algorithm); });
        report += "    Public Key Algorithm: " + WithCrLf(name) + "\r\n";
    }
    if (EVP_PKEY* key = X509_get0_pubkey(x509)) {
        report +=
            WithCrLf(Printed([key](BIO* bio) { EVP_PKEY_print_public(bio, key, 8, nullptr); })) +
            "\r\n";
    }
    ssl::ForgetErrors();
    return report;
}

CertificateSummary SummariseCertificate(const Certificate& certificate) {
    X509* x509 = certificate.get();
    CertificateSummary summary;
    auto oneLine = [](const X509_NAME* name) {
        return Printed([name](BIO* bio) {
            X509_NAME_print_ex(bio, name, 0, (XN_FLAG_RFC2253 & kNoEscapes) | kAsText);
        });
    };
    summary.subject = oneLine(X509_get_subject_name(x509));
    summary.issuer = oneLine(X509_get_issuer_name(x509));
    summary.notBefore = IsoTime(X509_get0_notBefore(x509));
    summary.notAfter = IsoTime(X509_get0_notAfter(x509));
    if (BIGNUM* serial = ASN1_INTEGER_to_BN(X509_get0_serialNumber(x509), nullptr)) {
        char* hex = BN_bn2hex(serial);
        summary.serial = hex != nullptr ? hex : "";
        OPENSSL_free(hex);
        BN_free(serial);
    }
    if (EVP_PKEY* key = X509_get0_pubkey(x509)) {
        const char* name = EVP_PKEY_get0_type_name(key);
        summary.keyAlgorithm = name != nullptr ? name : "";
        summary.keyBits = EVP_PKEY_get_bits(key);
    }
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned size = 0;
    if (X509_digest(x509, EVP_sha256(), digest, &size) == 1) {
        summary.sha256 = Hex(digest, size);
    }
    ssl::ForgetErrors();
    return summary;
}

}  // namespace varnow
