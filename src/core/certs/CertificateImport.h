#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "certs/TlsObjects.h"

namespace varnow {

// What an import asks its user, in the order it needs the answers.
class ImportQuestions {
public:
    virtual ~ImportQuestions() = default;
    // A file's password (asked again each time another part of a file needs one); nullopt:
    // cancelled.
    virtual std::optional<std::string> AskPassword() = 0;
    // The certificate found, shown with the question "Do you want to use the certificate?".
    virtual bool ConfirmCertificate(const Certificate& certificate) = 0;
    // The certificate file holds no key: where it is. Nullopt: cancelled.
    virtual std::optional<std::filesystem::path> ChooseKeyFile() = 0;
};

enum class ImportOutcome {
    Ready,            // a certificate and its RSA key
    Cancelled,        // a question was cancelled: nothing to say
    FileUnreadable,   // "Has failed to open the file."
    NotACertificate,  // "A certificate error has occurred." (also a wrong PKCS#12 password)
    NoKeyInPkcs12,    // "Couldn't find a RSA key."
    NoCertificateInPkcs12,  // "Couldn't find a certificate."
    KeyUnreadable,          // "An RSA key error has occurred."
    KeyNotRsa,              // the board takes RSA keys only
    KeyMismatch,            // the key is not the certificate's
    KeyTooShort,            // an RSA key under 2048 bits
    CertificateDamaged,     // a self-signed certificate whose signature does not match it
    NotCertificateFile,     // neither PEM nor DER nor PKCS#12
    FilePasswordWrong,      // the PKCS#12 file's password
    KeyPasswordWrong,       // an encrypted PEM key's password
};

// The shortest RSA key an imported identity may have.
inline constexpr int kShortestImportedKeyBits = 2048;

struct ImportResult {
    ImportOutcome outcome = ImportOutcome::Cancelled;
    std::optional<TlsIdentity> identity;
    std::filesystem::path file;  // the file the outcome is about
    std::string reason;          // why a file could not be opened; the key's algorithm
};

// Reads a certificate and its key for the board: the file as a DER certificate, else as PEM,
// else (after asking for its password) as PKCS#12; the user confirms the certificate; the key
// comes from the same file, else from a key file the user chooses (DER, else PEM). The key
// must be an RSA key of at least 2048 bits and the certificate's own.
ImportResult ImportCertificateFile(const std::filesystem::path& file, ImportQuestions& questions);

// The message of an outcome (0 for none), and its texts' arguments.
int ImportMessageId(ImportOutcome outcome);

}  // namespace varnow
