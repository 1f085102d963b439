#include "certs/SelfSignedCertificate.h"

#include <openssl/asn1.h>
#include <openssl/objects.h>

#include <array>
#include <utility>

#include "certs/OpenSslHandles.h"

namespace varnow {
namespace {

constexpr long kValiditySeconds = 31'536'000;  // 365 days
constexpr std::size_t kMostFieldBytes = 1023;

struct NameFree {
    void operator()(X509_NAME* name) const { X509_NAME_free(name); }
};
using NamePtr = std::unique_ptr<X509_NAME, NameFree>;

// The subject's entries in the order the name takes them.
std::array<std::pair<const char*, const std::string*>, 7> Entries(const CertificateSubject& s) {
    return {{{"C", &s.country},
             {"ST", &s.state},
             {"L", &s.locality},
             {"O", &s.organisation},
             {"OU", &s.unit},
             {"CN", &s.commonName},
             {"emailAddress", &s.email}}};
}

bool AddEntry(X509_NAME* name, const char* attribute, const std::string& text) {
    return X509_NAME_add_entry_by_txt(name, attribute, MBSTRING_UTF8,
                                      reinterpret_cast<const unsigned char*>(text.data()),
                                      static_cast<int>(text.size()), -1, 0) == 1;
}

std::size_t MostCharacters(const char* attribute) {
    const ASN1_STRING_TABLE* table = ASN1_STRING_TABLE_get(OBJ_txt2nid(attribute));
    return table != nullptr && table->maxsize > 0 ? static_cast<std::size_t>(table->maxsize)
                                                  : kMostFieldBytes;
}

}  // namespace

CertificateSubject DefaultSubject(std::string commonName) {
    return CertificateSubject{
        .country = "KR",
        .state = "Seoul",
        .locality = "Guro-gu",
        .organisation = "TARVIX SYSTEMS",
        .unit = "Research Team",
        .commonName = std::move(commonName),
        .email = "support@tarvixsystems.example",
    };
}

std::optional<SubjectProblem> CheckSubject(const CertificateSubject& subject) {
    const auto entries = Entries(subject);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const auto& [attribute, text] = entries[i];
        if (text->empty()) {
            continue;
        }
        NamePtr scratch(X509_NAME_new());
        if (text->size() > kMostFieldBytes || !AddEntry(scratch.get(), attribute, *text)) {
            ssl::ForgetErrors();
            return SubjectProblem{static_cast<SubjectProblem::Field>(i),
                                  std::min(kMostFieldBytes, MostCharacters(attribute))};
        }
    }
    return std::nullopt;
}

std::optional<Certificate> MakeSelfSignedCertificate(const PrivateKey& key,
                                                     const CertificateSubject& subject,
                                                     std::time_t now) {
    std::shared_ptr<x509_st> x509 = ssl::Own(X509_new());
    X509_NAME* name = x509 ? X509_get_subject_name(x509.get()) : nullptr;
    bool made =
        name != nullptr && X509_set_version(x509.get(), X509_VERSION_3) == 1 &&
        ASN1_INTEGER_set(X509_get_serialNumber(x509.get()), 0) == 1 &&
        X509_time_adj_ex(X509_getm_notBefore(x509.get()), 0, 0, &now) != nullptr &&
        X509_time_adj_ex(X509_getm_notAfter(x509.get()), 0, kValiditySeconds, &now) != nullptr &&
        X509_set_pubkey(x509.get(), key.get()) == 1;
    for (const auto& [attribute, text] : Entries(subject)) {
        if (made && !text->empty()) {
            made = AddEntry(name, attribute, *text);
        }
    }
    made = made && X509_set_issuer_name(x509.get(), name) == 1 &&
           X509_sign(x509.get(), key.get(), EVP_sha1()) > 0;
    if (!made) {
        ssl::ForgetErrors();
        return std::nullopt;
    }
    return Certificate(std::move(x509));
}

}  // namespace varnow
