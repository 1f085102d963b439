#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <memory>
#include <string>

#include "BoardConfig.h"
#include "Scheduler.h"
#include "SimBoard.h"
#include "SimulatedPort.h"

namespace varnow::sim {

// The simulated board's clock in a Qt program: the wall clock and single-shot timers.
class QtScheduler : public QObject, public Scheduler {
public:
    QtScheduler() { m_clock.start(); }
    std::uint64_t NowMs() const override { return static_cast<std::uint64_t>(m_clock.elapsed()); }
    void After(std::uint64_t delayMs, std::function<void()> action) override;

private:
    QElapsedTimer m_clock;
};

// A simulated board inside the program, behind a port named like a real one, for --simulate.
class EmbeddedBoard {
public:
    static constexpr const char* kPortName = "simulated-board";

    explicit EmbeddedBoard(BoardConfig config = {});
    SimBoard& board() { return m_board; }
    SimulatedPort& port() { return m_port; }

private:
    QtScheduler m_scheduler;
    SimBoard m_board;
    SimulatedPort m_port;
};

}  // namespace varnow::sim
