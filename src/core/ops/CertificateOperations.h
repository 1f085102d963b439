#pragma once

#include <optional>
#include <string>
#include <variant>

#include "certs/CertificateRead.h"
#include "certs/CertificateWrite.h"
#include "certs/SelfSignedCertificate.h"
#include "certs/TlsObjects.h"
#include "ops/Operation.h"
#include "settings/SettingsRead.h"

namespace varnow {

// What reading the certificate block found.
struct CertificateReadResult {
    Outcome<CertificateReadOutcome> outcome;
    CertificateRecordStore records;
};

// Read the board's certificate block.
class ReadCertificateOperation : public Operation {
public:
    explicit ReadCertificateOperation(BoardContext& board)
        : Operation(board), m_read(board.link(), messenger()) {}

    const CertificateReadResult& result() const { return m_result; }
    bool succeeded() const override {
        return m_result.outcome == CertificateReadOutcome::Read ||
               m_result.outcome == CertificateReadOutcome::NoBlock;
    }

private:
    void Begin() override;

    CertificateRead m_read;
    CertificateReadResult m_result;
};

// A new identity made here: an RSA key of `bits` and a self-signed certificate. An empty
// common name becomes the board's IPv4 address.
struct NewIdentity {
    int bits = 1024;
    CertificateSubject subject;
};

enum class IdentityOutcome {
    Stored,              // written, read back, and the board holds exactly the block sent
    DryRun,              // everything checked up to the first write; nothing written
    KeyNotRsa,           // nothing written
    KeyMismatch,         // the key is not the certificate's: nothing written
    KeyTooShort,         // an imported key under 2048 bits: nothing written
    CertificateDamaged,  // its own signature does not match it: nothing written
    NotPacked,           // a prime too long, or the block too large: nothing written
    KeyFailed,           // the library could not make a key or certificate: nothing written
    NotRead,             // the board's block could not be read whole: nothing written
    Refused,             // the board refused the block and still holds its old one
    NotTaken,            // the board said it took it, but still holds its old one
    Differs,             // the board holds another block than the one sent
    Unconfirmed,         // sent, and what the board holds could not be read back
    NoBoard,
    BoardLost,
};

// What storing an identity did.
struct IdentityResult {
    Outcome<IdentityOutcome> outcome;
    std::optional<Certificate> certificate;  // the one written (made here or imported)
    CertificateRecordStore before;           // the board's records before the write
    CertificateRecordStore after;            // as read back
    bool blockSent = false;                  // the whole block went over the line
    bool boardSaidStored = false;            // its reply to the block
    int keyBits = 0;
};

// Give the board its TLS identity: a certificate and its key (imported, or made here). The
// board's block is read whole first (its carried records go into the new one), the key must
// belong to the certificate, the block is written and read back, and only a board that holds
// exactly the block sent counts as stored.
class StoreIdentityOperation : public Operation {
public:
    struct Options {
        bool dryRun = false;
    };
    StoreIdentityOperation(BoardContext& board, TlsIdentity identity, Options options);
    StoreIdentityOperation(BoardContext& board, NewIdentity identity, Options options);

    const IdentityResult& result() const { return m_result; }
    bool succeeded() const override {
        return m_result.outcome == IdentityOutcome::Stored ||
               m_result.outcome == IdentityOutcome::DryRun;
    }

private:
    void Begin() override;
    // The common name of a new identity, from the board's settings when none was given.
    void ReadCommonName();
    void ReadBlock();
    void OnBlockRead(const Outcome<CertificateReadOutcome>& read, CertificateRecordStore records);
    void MakeKey();
    void Store(const TlsIdentity& identity, bool imported);
    void OnWritten(const Outcome<CertificateWriteOutcome>& written);
    void OnReadBack(const Outcome<CertificateReadOutcome>& read, CertificateRecordStore records);
    void Finish(IdentityOutcome outcome, std::string command = {});

    std::variant<TlsIdentity, NewIdentity> m_source;
    Options m_options;
    SettingsRead m_settings;
    CertificateRead m_read;
    CertificateWrite m_write;
    Cleansed<Bytes> m_sent;
    IdentityResult m_result;
};

}  // namespace varnow
