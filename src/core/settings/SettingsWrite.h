#pragma once

#include <functional>
#include <string>

#include "session/Chain.h"
#include "ui/Messenger.h"

namespace varnow {

enum class SettingsWriteOutcome {
    Written,       // the board took the block and said "412 "
    IspMode,       // the board is in its boot loader
    NoBoard,       // the port is not open
    BackupFailed,  // the block as read could not be saved first: nothing was written
    Unencodable,   // the edited block could not be encoded: "Failed to change the values."
    NotSent,       // the board said "412 " before it asked for the block
    Refused,       // the board answered with something else
    Stalled,       // the text could not be written: "The synchronization has failed."
    TimedOut,      // no "412 " within 3 s of "recv envs"
    PortLost,
};

// "recv envs": the board asks for the block ("600 "), takes its Base64 text in chunks of at
// most 1024 bytes and "\r\r", and confirms with "412 ".
class SettingsWrite : private Chain {
public:
    using Done = std::function<void(const Outcome<SettingsWriteOutcome>&)>;

    static constexpr std::size_t kChunkSize = 1024;
    static constexpr int kMostStalls = 10;

    SettingsWrite(BoardLink& link, Messenger& messenger) : Chain(link), m_messenger(messenger) {}
    // `text`: the block's Base64 text.
    void Start(std::string text, Done done);
    bool running() const { return static_cast<bool>(m_done); }
    // Some of the block's text went to the board: whatever the outcome, it may hold it.
    bool textSent() const { return m_textSent; }

private:
    Reply OnLine(const ReplyLine& line);
    bool SendText();
    void OnTimedOut(const std::string& command) override;
    void OnPortLost() override;
    void Finish(SettingsWriteOutcome outcome, std::string command = {});

    Messenger& m_messenger;
    std::string m_text;
    bool m_asked = false;  // the board said "600 "
    bool m_textSent = false;
    bool m_stalled = false;
    Done m_done;
};

}  // namespace varnow
