#pragma once

namespace varnow {

class Writer;

// What happens when a reply timer expires: the common failure handling of every chain. There is
// no retry anywhere; a time-out ends the operation.
class ChannelTimeouts {
public:
    explicit ChannelTimeouts(Writer& writer) : m_writer(writer) {}
    void OnTimer(int id);

private:
    void OnReply1s();
    void OnReply3s();
    void OnReply5s();
    void OnReply10s();

    Writer& m_writer;
};

}  // namespace varnow
