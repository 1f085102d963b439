#include "ops/ConnectOperation.h"

namespace varnow {

ConnectOperation::ConnectOperation(BoardContext& board, std::string port, bool bootLoaderExpected,
                                   Questions* login)
    : Operation(board),
      m_port(std::move(port)),
      m_bootLoaderExpected(bootLoaderExpected),
      m_sequence(board.link(), messenger(), login != nullptr ? *login : board.questions()) {}

void ConnectOperation::Begin() {
    m_sequence.Start(m_port, m_bootLoaderExpected, [this](const ConnectResult& result) {
        m_result.outcome = result;
        m_result.board = link().session();
        End();
    });
}

}  // namespace varnow
