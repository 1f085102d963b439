#include "EmbeddedBoard.h"

#include <QTimer>

namespace varnow::sim {

void QtScheduler::After(std::uint64_t delayMs, std::function<void()> action) {
    QTimer::singleShot(static_cast<int>(delayMs), Qt::PreciseTimer, this, std::move(action));
}

EmbeddedBoard::EmbeddedBoard(BoardConfig config)
    : m_board(std::move(config), m_scheduler), m_port(m_board, kPortName) {}

}  // namespace varnow::sim
