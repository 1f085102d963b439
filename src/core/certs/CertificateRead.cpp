#include "certs/CertificateRead.h"

#include <utility>

#include "link/CommandStates.h"
#include "ui/MessageIds.h"

namespace varnow {

void CertificateRead::Wipe() {
    m_block = Cleansed<Bytes>();
    m_read.Wipe();
}

void CertificateRead::Start(Done done) {
    Wipe();
    if (!m_link.portOpen()) {
        m_messenger.Show(kMsgOpenComPort, MessageStyle::Warning);
        return done({CertificateReadOutcome::NoBoard}, {});
    }
    m_read.Start(BulkRequest{.command = "send envc\r",
                             .state = kStateSendEnvc,
                             .timer = {kTimerReply1s, 1000},
                             .capacity = kBulkBufferSize,
                             .refusable = true},
                 [this, done = std::move(done)](const Outcome<BulkOutcome>& read) {
                     switch (read.code) {
                         case BulkOutcome::Read: {
                             m_block = Cleansed<Bytes>(m_read.Decoded());
                             m_read.Wipe();
                             const bool sound = CertificateBlockIsSound(m_block.get());
                             return done({sound ? CertificateReadOutcome::Read
                                                : CertificateReadOutcome::Damaged},
                                         LoadCertificateRecords(m_block.get()));
                         }
                         case BulkOutcome::Refused:
                             return done({CertificateReadOutcome::NoBlock}, {});
                         case BulkOutcome::Overflow:
                             m_read.Wipe();
                             return done({CertificateReadOutcome::Damaged}, {});
                         case BulkOutcome::TimedOut:
                             m_read.Wipe();
                             return done({CertificateReadOutcome::TimedOut, read.command}, {});
                         case BulkOutcome::PortLost:
                             m_read.Wipe();
                             return done({CertificateReadOutcome::PortLost}, {});
                     }
                 });
}

}  // namespace varnow
