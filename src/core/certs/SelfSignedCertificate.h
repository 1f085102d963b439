#pragma once

#include <ctime>
#include <optional>
#include <string>

#include "certs/TlsObjects.h"

namespace varnow {

// The subject of a new certificate, as UTF-8 texts. An empty text means no entry.
struct CertificateSubject {
    std::string country;  // two letters
    std::string state;
    std::string locality;
    std::string organisation;
    std::string unit;
    std::string commonName;
    std::string email;
};

// What the "Self Signed Certificate" dialog starts with; the common name is the board's IPv4
// address.
CertificateSubject DefaultSubject(std::string commonName);

// A field the certificate cannot take.
struct SubjectProblem {
    enum Field { Country, State, Locality, Organisation, Unit, CommonName, Email } field;
    std::size_t mostCharacters = 0;  // what the field takes
};

// Checks every non-empty field against what its attribute allows (and 1023 bytes at most),
// so that no entry goes missing from the subject unnoticed. Nullopt when all fit.
std::optional<SubjectProblem> CheckSubject(const CertificateSubject& subject);

// A self-signed X.509 v3 certificate for `key`: serial 0, valid from `now` for 365 days, the
// subject's non-empty entries (C, ST, L, O, OU, CN, emailAddress) as subject and issuer,
// signed with SHA-1, without extensions. Nullopt when the library fails.
std::optional<Certificate> MakeSelfSignedCertificate(const PrivateKey& key,
                                                     const CertificateSubject& subject,
                                                     std::time_t now);

}  // namespace varnow
