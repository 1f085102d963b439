#include "certs/CertificateImport.h"

#include "certs/CertificateFiles.h"
#include "common/Cleansed.h"
#include "files/RegularFile.h"
#include "ui/MessageIds.h"

namespace varnow {
namespace {

constexpr std::size_t kLargestFile = 4u << 20;

// The whole file, only when it is a regular file within the limit; nullopt with the reason.
std::optional<Cleansed<Bytes>> ReadWhole(const std::filesystem::path& path, std::string& reason) {
    UserFile file = ReadRegularFile(path, kLargestFile);
    if (!file.ok()) {
        reason = file.problem;
        return std::nullopt;
    }
    return Cleansed<Bytes>(std::move(file.bytes));
}

ImportResult Ended(ImportOutcome outcome, const std::filesystem::path& file,
                   std::string reason = {}) {
    return ImportResult{outcome, std::nullopt, file, std::move(reason)};
}

}  // namespace

int ImportMessageId(ImportOutcome outcome) {
    switch (outcome) {
        case ImportOutcome::FileUnreadable:
            return kMsgOpenFileFailed;
        case ImportOutcome::NotACertificate:
            return kMsgCertificateError;
        case ImportOutcome::NoKeyInPkcs12:
            return kMsgNoRsaKey;
        case ImportOutcome::NoCertificateInPkcs12:
            return kMsgNoCertificateFound;
        case ImportOutcome::KeyUnreadable:
            return kMsgRsaKeyError;
        case ImportOutcome::KeyNotRsa:
            return kMsgKeyNotRsa;
        case ImportOutcome::KeyMismatch:
            return kMsgKeyMismatch;
        case ImportOutcome::KeyTooShort:
            return kMsgKeyTooShort;
        case ImportOutcome::CertificateDamaged:
            return kMsgCertificateSignatureBad;
        case ImportOutcome::NotCertificateFile:
            return kMsgNotCertificateFile;
        case ImportOutcome::FilePasswordWrong:
            return kMsgFilePasswordWrong;
        case ImportOutcome::KeyPasswordWrong:
            return kMsgKeyPasswordWrong;
        case ImportOutcome::Ready:
        case ImportOutcome::Cancelled:
            break;
    }
    return 0;
}

ImportResult ImportCertificateFile(const std::filesystem::path& file, ImportQuestions& questions) {
    std::string reason;
    const std::optional<Cleansed<Bytes>> content = ReadWhole(file, reason);
    if (!content) {
        return Ended(ImportOutcome::FileUnreadable, file, reason);
    }
    const ByteView bytes(content->get());
    // Whether a password was asked and not given: the user cancelled, nothing more to say.
    bool cancelled = false;
    const PasswordSource ask = [&questions, &cancelled] {
        std::optional<std::string> password = questions.AskPassword();
        cancelled = cancelled || !password;
        return password;
    };

    std::optional<Certificate> certificate = ReadDerCertificate(bytes);
    std::optional<PrivateKey> key;
    bool pem = false;
    if (!certificate) {
        certificate = ReadPemCertificate(bytes, ask);
        pem = certificate.has_value();
    }
    if (!certificate && HoldsEncryptedPemKey(bytes)) {
        // Encrypted PEM: what failed is the password it was asked for.
        return Ended(cancelled ? ImportOutcome::Cancelled : ImportOutcome::FilePasswordWrong, file);
    }
    if (!certificate && !IsPkcs12(bytes)) {
        return Ended(ImportOutcome::NotCertificateFile, file, file.string());
    }
    if (!certificate) {
        std::optional<std::string> password = questions.AskPassword();
        if (!password) {
            return Ended(ImportOutcome::Cancelled, file);
        }
        Pkcs12Contents pkcs12 = ReadPkcs12(bytes, *password);
        Cleanse(*password);
        if (!pkcs12.parsed) {
            // The file is PKCS#12: what failed is its password.
            return Ended(ImportOutcome::FilePasswordWrong, file);
        }
        if (!pkcs12.key) {
            return Ended(ImportOutcome::NoKeyInPkcs12, file);
        }
        if (!pkcs12.certificate) {
            return Ended(ImportOutcome::NoCertificateInPkcs12, file);
        }
        certificate = std::move(pkcs12.certificate);
        key = std::move(pkcs12.key);
    }
    if (!questions.ConfirmCertificate(*certificate)) {
        return Ended(ImportOutcome::Cancelled, file);
    }
    if (!key) {
        key = pem ? ReadPemPrivateKey(bytes, ask) : ReadDerPrivateKey(bytes);
        if (!key && pem && HoldsEncryptedPemKey(bytes)) {
            return Ended(cancelled ? ImportOutcome::Cancelled : ImportOutcome::KeyPasswordWrong,
                         file);
        }
    }
    std::filesystem::path keyFile = file;
    if (!key) {
        std::optional<std::filesystem::path> chosen = questions.ChooseKeyFile();
        if (!chosen) {
            return Ended(ImportOutcome::Cancelled, file);
        }
        keyFile = *chosen;
        const std::optional<Cleansed<Bytes>> keyBytes = ReadWhole(keyFile, reason);
        if (!keyBytes) {
            return Ended(ImportOutcome::FileUnreadable, keyFile, reason);
        }
        key = ReadDerPrivateKey(keyBytes->get());
        if (!key) {
            key = ReadPemPrivateKey(keyBytes->get(), ask);
        }
        if (!key && HoldsEncryptedPemKey(keyBytes->get())) {
            return Ended(cancelled ? ImportOutcome::Cancelled : ImportOutcome::KeyPasswordWrong,
                         keyFile);
        }
        if (!key) {
            return Ended(ImportOutcome::KeyUnreadable, keyFile);
        }
    }
    if (!key->IsRsa()) {
        return Ended(ImportOutcome::KeyNotRsa, keyFile, key->Algorithm());
    }
    if (!certificate->BelongsTo(*key)) {
        return Ended(ImportOutcome::KeyMismatch, keyFile);
    }
    if (key->Bits() < kShortestImportedKeyBits) {
        return Ended(ImportOutcome::KeyTooShort, keyFile, std::to_string(key->Bits()));
    }
    if (certificate->SelfSignatureSound() == false) {
        return Ended(ImportOutcome::CertificateDamaged, file);
    }
    return ImportResult{ImportOutcome::Ready, TlsIdentity{*certificate, *key}, file, {}};
}

}  // namespace varnow
