#include "upload/TailBlockRead.h"

#include "link/ChannelBuffers.h"
#include "link/CommandStates.h"
#include "ui/MessageIds.h"

namespace varnow {

void TailBlockRead::Start(Done done) {
    if (!m_link.portOpen()) {
        m_messenger.Show(kMsgOpenComPort, MessageStyle::Warning);
        return done({TailOutcome::NoBoard}, {});
    }
    m_read.Start(BulkRequest{.command = "send tail\r",
                             .state = kStateSendTail,
                             .timer = {kTimerReply1s, 1000},
                             .capacity = kBulkBufferSize,
                             .skipEmpty = true},
                 [this, done = std::move(done)](const Outcome<BulkOutcome>& read) {
                     switch (read.code) {
                         case BulkOutcome::Read:
                         case BulkOutcome::Overflow: {
                             Bytes block = m_read.Decoded();
                             if (block.size() > kTailBufferSize) {
                                 block.resize(kTailBufferSize);
                             }
                             return done({TailOutcome::Read}, FirmwareName(block));
                         }
                         case BulkOutcome::TimedOut:
                         case BulkOutcome::Refused:
                             m_link.CancelProgressAndDisconnect();
                             m_messenger.Show(kMsgGetConfigurationFailed, MessageStyle::Warning);
                             return done({TailOutcome::TimedOut, "send tail"}, {});
                         case BulkOutcome::PortLost:
                             return done({TailOutcome::PortLost}, {});
                     }
                 });
}

}  // namespace varnow
