#pragma once

#include <functional>

#include "certs/CertificateBlock.h"
#include "common/Cleansed.h"
#include "session/BulkRead.h"
#include "ui/Messenger.h"

namespace varnow {

enum class CertificateReadOutcome {
    Read,      // the board sent its block, whole and sound
    NoBlock,   // "501 ": the board holds none
    Damaged,   // the reply ended, but its block is empty, too large or fails its checks
    TimedOut,  // no "411" within 1 s
    NoBoard,   // the port is not open: "Open a COM port and try again."
    PortLost,
};

// "send envc": the board's certificate block as Base64 lines up to "411", into the record
// store. Every way it ends leaves a store: an empty one when no block came. Only a block read
// whole and sound, or a board that holds none, may be the ground of a new block.
class CertificateRead {
public:
    using Done =
        std::function<void(const Outcome<CertificateReadOutcome>&, CertificateRecordStore)>;

    CertificateRead(BoardLink& link, Messenger& messenger)
        : m_link(link), m_messenger(messenger), m_read(link) {}
    void Start(Done done);
    bool running() const { return m_read.running(); }
    // The block as read (its key primes included): wiped with the next read, by Wipe() and
    // when the chain goes.
    const Bytes& block() const { return m_block.get(); }
    void Wipe();

private:
    BoardLink& m_link;
    Messenger& m_messenger;
    BulkRead m_read;
    Cleansed<Bytes> m_block;
};

// Whether a read may be the ground of a new block.
inline bool MayBuildOn(CertificateReadOutcome outcome) {
    return outcome == CertificateReadOutcome::Read || outcome == CertificateReadOutcome::NoBlock;
}

}  // namespace varnow
