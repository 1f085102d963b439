#include "ops/Operation.h"

#include <chrono>
#include <utility>

namespace varnow {

Operation::Operation(BoardContext& board)
    : m_board(board),
      m_log(board.liveMessages()),
      m_messenger(m_log, board.strings(), board.language()) {}

void Operation::Start(std::function<void()> ended) {
    m_ended = std::move(ended);
    m_running = true;
    m_startedMs = m_board.link().platform().NowMs();
    Begin();
}

void Operation::Abandon() {
    m_abandoned = true;
    m_running = false;
    m_ended = nullptr;
}

void Operation::End() {
    if (!m_running) {
        return;
    }
    m_running = false;
    // Whatever its chains left armed ends with it: nothing of it runs after its end, and no
    // progress is shown for it.
    m_board.link().Quiet();
    m_board.link().progress().Close();
    m_report.messages = m_log.messages();
    m_report.seconds =
        static_cast<double>(m_board.link().platform().NowMs() - m_startedMs) / 1000.0;
    std::function<void()> ended = std::exchange(m_ended, nullptr);
    if (!ended) {
        return;
    }
    // Kept alive until its end has been heard.
    m_board.link().platform().Post(
        [self = shared_from_this(), ended = std::move(ended)] { ended(); });
}

}  // namespace varnow
