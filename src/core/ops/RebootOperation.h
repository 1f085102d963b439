#pragma once

#include "ops/BoardRestart.h"
#include "ops/Operation.h"

namespace varnow {

// Restart the board (its script, or its boot loader) and connect to it again once it is back.
class RebootOperation : public Operation {
public:
    explicit RebootOperation(BoardContext& board) : Operation(board), m_restart(board) {}

    const RestartResult& result() const { return m_result; }
    bool succeeded() const override { return m_result.outcome == RestartOutcome::Back; }

private:
    void Begin() override;

    BoardRestart m_restart;
    RestartResult m_result;
};

}  // namespace varnow
