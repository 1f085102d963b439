#include "upload/ImageHeadRead.h"

#include "link/ChannelBuffers.h"
#include "link/CommandStates.h"

namespace varnow {

void ImageHeadRead::Start(Done done) {
    // Every line but "411 ", error replies included, is head data; each one buys a second.
    m_read.Start(
        BulkRequest{.command = "send kofs head\r",
                    .state = kStateSendKofsHead,
                    .timer = {kTimerBulk1s, 1000},
                    .capacity = kBulkBufferSize,
                    .rearmPerLine = true},
        [this, done = std::move(done)](const Outcome<BulkOutcome>& read) {
            switch (read.code) {
                case BulkOutcome::Read:
                case BulkOutcome::Overflow:  // a head too long to hold: as read, it is no head
                    return done({ReadOutcome::Read},
                                read.code == BulkOutcome::Read ? m_read.Decoded() : Bytes{});
                case BulkOutcome::TimedOut:
                case BulkOutcome::Refused:
                    return done({ReadOutcome::Stalled, read.command}, {});
                case BulkOutcome::PortLost:
                    return done({ReadOutcome::PortLost}, {});
            }
        });
}

}  // namespace varnow
