#include "support/QtVirtualPlatform.h"

#include <QCoreApplication>

namespace varnow::testing {

QtVirtualPlatform::QtVirtualPlatform(std::filesystem::path appData, sim::BoardConfig config)
    : m_board(std::move(config), m_loop),
      m_port(m_board, kPortName),
      m_virtual(m_loop, m_port, std::move(appData)) {
    m_drive.setInterval(0);
    connect(&m_drive, &QTimer::timeout, this, [this] { Drive(); });
    m_loop.SetWakeup([this] {
        if (!m_drive.isActive()) {
            m_drive.start();
        }
    });
}

void QtVirtualPlatform::Drive() {
    // One event at a time, so that Qt's own events (the windows, the test) come in between.
    if (!m_loop.RunOne()) {
        m_drive.stop();
    }
}

void QtVirtualPlatform::PumpEvents() {
    m_loop.RunDue();
    QCoreApplication::processEvents();
}

bool QtVirtualPlatform::RunUntil(const std::function<bool()>& done) {
    while (!done()) {
        if (!m_loop.RunOne()) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
        QCoreApplication::processEvents();
    }
    return true;
}

}  // namespace varnow::testing
