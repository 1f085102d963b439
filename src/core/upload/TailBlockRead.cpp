#include "upload/TailBlockRead.h"

#include "base64/Base64Decoder.h"
#include "link/ChannelBuffers.h"
#include "link/CommandStates.h"
#include "ui/MessageIds.h"

namespace varnow {

TailBlockRead::TailBlockRead(BoardLink& link, Messenger& messenger)
    : m_link(link), m_messenger(messenger), m_text(kTailBufferSize) {}

void TailBlockRead::Start(Done done) {
    m_done = std::move(done);
    if (!m_link.portOpen()) {
        m_messenger.Show(kMsgOpenComPort, MessageStyle::Warning);
        return Finish(TailOutcome::NoBoard);
    }
    m_text.Clear();
    m_link.channel().Send(Command{
        .text = "send tail\r",
        .state = kStateSendTail,
        .timer = {kTimerReply1s, 1000},
        .onReply = [this](const ReplyLine& line) { return OnLine(line); },
        .onTimeout =
            [this] {
                m_link.channel().ClearLine();
                m_link.CancelProgressAndDisconnect();
                m_messenger.Show(kMsgGetConfigurationFailed, MessageStyle::Warning);
                m_link.channel().End();
                Finish(TailOutcome::TimedOut);
            },
        .onPortLost = [this] { Finish(TailOutcome::PortLost); },
    });
}

Reply TailBlockRead::OnLine(const ReplyLine& line) {
    if (line.empty()) {
        return Reply::Pending;
    }
    if (!line.StartsWith("411 ")) {
        m_text.Append(line.text);
        return Reply::Pending;
    }
    m_link.channel().End();
    Bytes block = DecodeBase64(AsBytes(m_text.text()));
    if (block.size() > kTailBufferSize) {
        block.resize(kTailBufferSize);
    }
    Finish(TailOutcome::Read, FirmwareName(block));
    return Reply::Done;
}

void TailBlockRead::Finish(TailOutcome outcome, const FirmwareNameResult& name) {
    if (Done done = std::exchange(m_done, nullptr)) {
        done(Outcome<TailOutcome>{outcome, outcome == TailOutcome::TimedOut ? "send tail" : ""},
             name);
    }
}

}  // namespace varnow
