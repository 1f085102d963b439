#pragma once

#include <functional>

#include "certs/CertificateBlock.h"
#include "certs/CertificateRead.h"
#include "certs/CertificateWrite.h"
#include "certs/TlsObjects.h"
#include "ui/Messenger.h"

namespace varnow {

enum class CertificateStoreOutcome {
    Stored,     // the board took the block and holds the certificate, read back
    NotKept,    // the board said it took the block, but does not hold the certificate
    KeyNotRsa,  // the key is not RSA: nothing written
    NotPacked,  // a prime too long, or the block too large: nothing written
    Refused,    // the board refused the block
    Stalled,
    TimedOut,
    NoBoard,
    PortLost,
};

struct CertificateStoreResult {
    Outcome<CertificateStoreOutcome> outcome;
    // The board's records as read after the write (the store as it was when none could be).
    CertificateRecordStore records;
};

// Gives the board a new TLS identity: packs the key's primes, the certificate and the carried
// records of the board's current block, writes the block, reads the block back and checks
// that it holds the certificate.
class CertificateStore {
public:
    using Done = std::function<void(const CertificateStoreResult&)>;

    CertificateStore(CertificateRead& read, CertificateWrite& write, Messenger& messenger);
    void Start(const TlsIdentity& identity, const CertificateRecordStore& current, Done done);
    bool running() const { return static_cast<bool>(m_done); }

private:
    void OnWritten(const Outcome<CertificateWriteOutcome>& written);
    void Finish(CertificateStoreOutcome outcome, std::string command = {});

    CertificateRead& m_read;
    CertificateWrite& m_write;
    Messenger& m_messenger;
    Bytes m_der;
    CertificateRecordStore m_records;
    Done m_done;
};

}  // namespace varnow
