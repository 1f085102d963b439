#pragma once

#include <string>

#include "connect/ConnectSequence.h"
#include "ops/Operation.h"
#include "session/SessionRecord.h"

namespace varnow {

// What a connect found.
struct ConnectReport {
    ConnectResult outcome;
    SessionRecord board;  // the port, and who the board is (FIB id, MCU id, boot loader, login)
};

// Connect to a board and identify it: opens the port, brings the board's command interpreter
// into the tool's mode, checks that both fit together and reads who the board is, answering
// its login through the questions (or through `login` when given).
class ConnectOperation : public Operation {
public:
    ConnectOperation(BoardContext& board, std::string port, bool bootLoaderExpected = false,
                     Questions* login = nullptr);

    const ConnectReport& result() const { return m_result; }
    bool succeeded() const override { return m_result.outcome.code == ConnectOutcome::Identified; }

private:
    void Begin() override;

    std::string m_port;
    bool m_bootLoaderExpected;
    ConnectSequence m_sequence;
    ConnectReport m_result;
};

}  // namespace varnow
