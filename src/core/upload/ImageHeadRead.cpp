#include "upload/ImageHeadRead.h"

#include "base64/Base64Decoder.h"
#include "link/ChannelBuffers.h"
#include "link/CommandStates.h"

namespace varnow {
namespace {
constexpr ReplyTimer kLineTimer{kTimerBulk1s, 1000};
}  // namespace

ImageHeadRead::ImageHeadRead(BoardLink& link) : m_link(link), m_text(kBulkBufferSize) {}

void ImageHeadRead::Start(Done done) {
    m_done = std::move(done);
    m_text.Clear();
    m_link.channel().Send(Command{
        .text = "send kofs head\r",
        .state = kStateSendKofsHead,
        .timer = kLineTimer,
        .onReply = [this](const ReplyLine& line) { return OnLine(line); },
        .onTimeout =
            [this] {
                m_link.channel().End();
                Finish(ReadOutcome::Stalled);
            },
        .onPortLost = [this] { Finish(ReadOutcome::PortLost); },
    });
}

Reply ImageHeadRead::OnLine(const ReplyLine& line) {
    if (!line.StartsWith("411 ")) {
        // Every other line, error replies included, is head data; each one buys a second.
        m_link.channel().ArmReplyTimer(kLineTimer);
        m_text.Append(line.text);
        return Reply::Pending;
    }
    m_link.channel().End();
    Finish(ReadOutcome::Read, m_text.empty() ? Bytes{} : DecodeBase64(AsBytes(m_text.text())));
    return Reply::Done;
}

void ImageHeadRead::Finish(ReadOutcome outcome, const Bytes& head) {
    if (Done done = std::exchange(m_done, nullptr)) {
        done(Outcome<ReadOutcome>{outcome, outcome == ReadOutcome::Stalled ? "send kofs head" : ""},
             head);
    }
}

}  // namespace varnow
