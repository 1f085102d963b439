#include "certs/CertificateStore.h"

#include <utility>

#include "ui/MessageIds.h"

namespace varnow {
namespace {

CertificateStoreOutcome StoreOutcomeOf(CertificateWriteOutcome outcome) {
    switch (outcome) {
        case CertificateWriteOutcome::Written:
            return CertificateStoreOutcome::Stored;
        case CertificateWriteOutcome::Refused:
            return CertificateStoreOutcome::Refused;
        case CertificateWriteOutcome::Stalled:
            return CertificateStoreOutcome::Stalled;
        case CertificateWriteOutcome::TimedOut:
            return CertificateStoreOutcome::TimedOut;
        case CertificateWriteOutcome::NoBoard:
            return CertificateStoreOutcome::NoBoard;
        case CertificateWriteOutcome::PortLost:
            break;
    }
    return CertificateStoreOutcome::PortLost;
}

}  // namespace

CertificateStore::CertificateStore(CertificateRead& read, CertificateWrite& write,
                                   Messenger& messenger)
    : m_read(read), m_write(write), m_messenger(messenger) {}

void CertificateStore::Start(const TlsIdentity& identity, const CertificateRecordStore& current,
                             Done done) {
    m_done = std::move(done);
    m_records = current;
    const std::optional<RsaPrimes> primes = identity.key.Primes();
    if (!primes) {
        m_messenger.Show(kMsgKeyNotRsa, MessageStyle::Warning, {identity.key.Algorithm()});
        return Finish(CertificateStoreOutcome::KeyNotRsa);
    }
    m_der = identity.certificate.Der();
    std::optional<Bytes> packed =
        PackCertificateBlock(primes->p.get(), primes->q.get(), m_der, current, m_messenger);
    if (!packed) {
        return Finish(CertificateStoreOutcome::NotPacked);
    }
    const Cleansed<Bytes> block(std::move(*packed));
    m_write.Start(block.get(), [this](const auto& written) { OnWritten(written); });
}

void CertificateStore::OnWritten(const Outcome<CertificateWriteOutcome>& written) {
    const CertificateStoreOutcome outcome = StoreOutcomeOf(written.code);
    if (outcome == CertificateStoreOutcome::NoBoard ||
        outcome == CertificateStoreOutcome::PortLost) {
        return Finish(outcome);
    }
    // The board's records are read again whatever it answered: they are what it holds now.
    m_read.Start(
        [this, outcome, command = written.command](const auto&, CertificateRecordStore records) {
            m_records = std::move(records);
            if (outcome != CertificateStoreOutcome::Stored) {
                return Finish(outcome, command);
            }
            if (!HoldsCertificate(m_records, m_der)) {
                m_messenger.Show(kMsgCertificateNotKept, MessageStyle::Warning);
                return Finish(CertificateStoreOutcome::NotKept);
            }
            Finish(CertificateStoreOutcome::Stored);
        });
}

void CertificateStore::Finish(CertificateStoreOutcome outcome, std::string command) {
    if (Done done = std::exchange(m_done, nullptr)) {
        CertificateStoreResult result{{outcome}, std::move(m_records)};
        result.outcome.command = std::move(command);
        done(result);
    }
}

}  // namespace varnow
