#include "ops/CertificateOperations.h"

#include <ctime>
#include <utility>

#include "certs/CertificateBlock.h"
#include "certs/CertificateImport.h"
#include "certs/RsaKeyMaker.h"
#include "settings/AddressText.h"
#include "ui/MessageIds.h"

namespace varnow {

void ReadCertificateOperation::Begin() {
    m_read.Start(
        [this](const Outcome<CertificateReadOutcome>& read, CertificateRecordStore records) {
            m_read.Wipe();
            m_result = CertificateReadResult{read, std::move(records)};
            End();
        });
}

StoreIdentityOperation::StoreIdentityOperation(BoardContext& board, TlsIdentity identity,
                                               Options options)
    : Operation(board),
      m_source(std::move(identity)),
      m_options(options),
      m_settings(board.link(), messenger()),
      m_read(board.link(), messenger()),
      m_write(board.link()) {}

StoreIdentityOperation::StoreIdentityOperation(BoardContext& board, NewIdentity identity,
                                               Options options)
    : Operation(board),
      m_source(std::move(identity)),
      m_options(options),
      m_settings(board.link(), messenger()),
      m_read(board.link(), messenger()),
      m_write(board.link()) {}

void StoreIdentityOperation::Begin() {
    if (!link().portOpen()) {
        messenger().Show(kMsgOpenComPort, MessageStyle::Warning);
        return Finish(IdentityOutcome::NoBoard);
    }
    if (const auto* imported = std::get_if<TlsIdentity>(&m_source)) {
        // Whatever is wrong with the files is found before the board is asked anything.
        const TlsIdentity& identity = *imported;
        m_result.certificate = identity.certificate;
        m_result.keyBits = identity.key.Bits();
        if (!identity.key.IsRsa()) {
            messenger().Show(kMsgKeyNotRsa, MessageStyle::Warning, {identity.key.Algorithm()});
            return Finish(IdentityOutcome::KeyNotRsa);
        }
        if (!identity.certificate.BelongsTo(identity.key)) {
            messenger().Show(kMsgKeyMismatch, MessageStyle::Warning);
            return Finish(IdentityOutcome::KeyMismatch);
        }
        if (identity.key.Bits() < kShortestImportedKeyBits) {
            messenger().Show(kMsgKeyTooShort, MessageStyle::Warning,
                             {std::to_string(identity.key.Bits())});
            return Finish(IdentityOutcome::KeyTooShort);
        }
        if (identity.certificate.SelfSignatureSound() == false) {
            messenger().Show(kMsgCertificateSignatureBad, MessageStyle::Warning);
            return Finish(IdentityOutcome::CertificateDamaged);
        }
        return ReadBlock();
    }
    if (std::get<NewIdentity>(m_source).subject.commonName.empty()) {
        return ReadCommonName();
    }
    ReadBlock();
}

void StoreIdentityOperation::ReadCommonName() {
    m_settings.Start([this](const Outcome<SettingsReadOutcome>& read, EnvironmentData data) {
        if (read.code != SettingsReadOutcome::Read) {
            return Finish(read.code == SettingsReadOutcome::PortLost ? IdentityOutcome::BoardLost
                                                                     : IdentityOutcome::NotRead,
                          read.command);
        }
        std::get<NewIdentity>(m_source).subject.commonName = DottedQuad(data.store.ipv4Address);
        ReadBlock();
    });
}

void StoreIdentityOperation::ReadBlock() {
    // The new block carries records of the old one: it is built only on a block read whole.
    m_read.Start([this](const Outcome<CertificateReadOutcome>& read,
                        CertificateRecordStore records) { OnBlockRead(read, std::move(records)); });
}

void StoreIdentityOperation::OnBlockRead(const Outcome<CertificateReadOutcome>& read,
                                         CertificateRecordStore records) {
    m_read.Wipe();
    if (read.code == CertificateReadOutcome::PortLost) {
        return Finish(IdentityOutcome::BoardLost);
    }
    if (!MayBuildOn(read.code)) {
        messenger().Show(kMsgCertificateBlockUnread, MessageStyle::Warning);
        return Finish(IdentityOutcome::NotRead, read.command);
    }
    m_result.before = std::move(records);
    if (auto* imported = std::get_if<TlsIdentity>(&m_source)) {
        return Store(*imported, true);
    }
    MakeKey();
}

void StoreIdentityOperation::MakeKey() {
    const NewIdentity made = std::get<NewIdentity>(m_source);
    link().progress().Show(ProgressMode::MakingKey, messenger().Text(kTextMakingKey));
    auto key = std::make_shared<std::optional<PrivateKey>>();
    const std::weak_ptr<Operation> alive = weak_from_this();
    link().platform().RunInBackground([key, bits = made.bits] { *key = GenerateRsaKey(bits); },
                                      [this, alive, key, made] {
                                          const auto self = alive.lock();
                                          if (!self || !running()) {
                                              return;  // abandoned meanwhile
                                          }
                                          link().progress().Close();
                                          std::optional<Certificate> certificate;
                                          if (*key) {
                                              certificate = MakeSelfSignedCertificate(
                                                  **key, made.subject, std::time(nullptr));
                                          }
                                          if (!certificate) {
                                              return Finish(IdentityOutcome::KeyFailed);
                                          }
                                          m_result.certificate = certificate;
                                          m_result.keyBits = (*key)->Bits();
                                          Store(TlsIdentity{*certificate, **key}, false);
                                      });
}

void StoreIdentityOperation::Store(const TlsIdentity& identity, bool imported) {
    if (!imported && !identity.certificate.BelongsTo(identity.key)) {
        return Finish(IdentityOutcome::KeyMismatch);
    }
    const std::optional<RsaPrimes> primes = identity.key.Primes();
    if (!primes) {
        messenger().Show(kMsgKeyNotRsa, MessageStyle::Warning, {identity.key.Algorithm()});
        return Finish(IdentityOutcome::KeyNotRsa);
    }
    std::optional<Bytes> packed = PackCertificateBlock(
        primes->p.get(), primes->q.get(), identity.certificate.Der(), m_result.before, messenger());
    if (!packed) {
        return Finish(IdentityOutcome::NotPacked);
    }
    m_sent = Cleansed<Bytes>(std::move(*packed));
    if (m_options.dryRun) {
        return Finish(IdentityOutcome::DryRun);
    }
    m_write.Start(m_sent.get(),
                  [this](const Outcome<CertificateWriteOutcome>& written) { OnWritten(written); });
}

void StoreIdentityOperation::OnWritten(const Outcome<CertificateWriteOutcome>& written) {
    m_result.blockSent = m_write.textSent();
    m_result.boardSaidStored = written.code == CertificateWriteOutcome::Written;
    if (!m_write.textSent() && written.code != CertificateWriteOutcome::Refused) {
        messenger().Show(kMsgSaveCertificateFailed, MessageStyle::Warning);
        return Finish(written.code == CertificateWriteOutcome::PortLost ? IdentityOutcome::BoardLost
                                                                        : IdentityOutcome::Refused,
                      written.command);
    }
    if (!link().portOpen()) {
        messenger().Show(kMsgSaveCertificateFailed, MessageStyle::Warning);
        return Finish(IdentityOutcome::BoardLost);
    }
    // Whatever the board answered, what it holds now is what counts.
    m_read.Start([this](const Outcome<CertificateReadOutcome>& read,
                        CertificateRecordStore records) { OnReadBack(read, std::move(records)); });
}

void StoreIdentityOperation::OnReadBack(const Outcome<CertificateReadOutcome>& read,
                                        CertificateRecordStore records) {
    const bool same = read.code == CertificateReadOutcome::Read && m_read.block() == m_sent.get();
    const bool old =
        read.code == CertificateReadOutcome::NoBlock
            ? m_result.before.length == 0
            : read.code == CertificateReadOutcome::Read &&
                  LoadCertificateRecords(m_read.block()).records == m_result.before.records;
    const bool readWhole = MayBuildOn(read.code);
    m_read.Wipe();
    m_sent = Cleansed<Bytes>();
    m_result.after = readWhole ? std::move(records) : m_result.before;
    if (same) {
        messenger().Show(kMsgCertificateSaved, MessageStyle::Information);
        return Finish(IdentityOutcome::Stored);
    }
    if (!readWhole) {
        messenger().Show(
            m_result.boardSaidStored ? kMsgCertificateStoredUnchecked : kMsgSaveCertificateFailed,
            MessageStyle::Warning);
        return Finish(read.code == CertificateReadOutcome::PortLost ? IdentityOutcome::BoardLost
                                                                    : IdentityOutcome::Unconfirmed,
                      read.command);
    }
    if (old) {
        messenger().Show(
            m_result.boardSaidStored ? kMsgCertificateNotKept : kMsgSaveCertificateFailed,
            MessageStyle::Warning);
        return Finish(m_result.boardSaidStored ? IdentityOutcome::NotTaken
                                               : IdentityOutcome::Refused);
    }
    messenger().Show(kMsgCertificateNotKept, MessageStyle::Warning);
    Finish(IdentityOutcome::Differs);
}

void StoreIdentityOperation::Finish(IdentityOutcome outcome, std::string command) {
    m_result.outcome = Outcome<IdentityOutcome>{outcome, std::move(command)};
    End();
}

}  // namespace varnow
