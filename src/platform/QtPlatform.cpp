#include "QtPlatform.h"

#include <QCoreApplication>
#include <QStandardPaths>
#include <QThread>

namespace varnow::platform {

QtPlatform::QtPlatform(std::unique_ptr<BoardLine> line)
    : m_line(line ? std::move(line) : MakeSerialLine()) {
    m_clock.start();
    m_line->SetNotifiers({[this] { NotifyArrival(); },
                          [this](bool arrived) { NotifyDeviceChange(arrived); },
                          [this] { NotifyPortFailed(); }});
}

QtPlatform::~QtPlatform() {
    m_line->SetNotifiers({[] {}, [](bool) {}, [] {}});
}

void QtPlatform::NotifyPortFailed() {
    Post([this] {
        if (m_listener) {
            m_listener->OnPortFailed();
        }
    });
}

void QtPlatform::NotifyArrival() {
    if (m_arrivalQueued) {
        return;
    }
    m_arrivalQueued = true;
    Post([this] {
        m_arrivalQueued = false;
        if (m_listener) {
            m_listener->OnSerialEvent(kEventCharacterReceived);
        }
    });
}

void QtPlatform::NotifyDeviceChange(bool arrived) {
    Post([this, arrived] {
        ++m_deviceEvents;
        if (m_listener) {
            arrived ? m_listener->OnDeviceArrival() : m_listener->OnDeviceRemoval();
        }
    });
}

void QtPlatform::ArmTimer(int id, int milliseconds, std::function<void()> expired) {
    Timer& entry = m_timers[id];
    if (!entry.timer) {
        entry.timer = std::make_unique<QTimer>();
        entry.timer->setTimerType(Qt::PreciseTimer);
        QObject::connect(entry.timer.get(), &QTimer::timeout, this, [this, id] {
            // A copy: the action may re-arm this id with another one.
            const std::function<void()> action = m_timers[id].expired;
            if (action) {
                action();
            }
        });
    }
    entry.expired = std::move(expired);
    entry.timer->start(milliseconds);
}

void QtPlatform::CancelTimer(int id) {
    const auto entry = m_timers.find(id);
    if (entry != m_timers.end()) {
        entry->second.timer->stop();
    }
}

void QtPlatform::Post(std::function<void()> task) {
    QMetaObject::invokeMethod(this, std::move(task), Qt::QueuedConnection);
}

void QtPlatform::PumpEvents() {
    // An arrival is noticed by the serial port and then queued to the listener: both rounds
    // must be handled before the caller looks at the state again.
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void QtPlatform::Sleep(int milliseconds) {
    QThread::msleep(static_cast<unsigned long>(milliseconds));
}

bool QtPlatform::RunUntil(const std::function<bool()>& done) {
    while (!done()) {
        QEventLoop loop;
        m_waits.push_back(&loop);
        loop.exec();
        m_waits.pop_back();
    }
    return true;
}

void QtPlatform::Wake() {
    for (QEventLoop* loop : m_waits) {
        loop->quit();
    }
}

void QtPlatform::RunInBackground(std::function<void()> work, std::function<void()> done) {
    QThread* thread = QThread::create(std::move(work));
    // The thread object goes when its work has ended; `done` runs here, on this thread,
    // unless the platform has gone meanwhile.
    connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    connect(thread, &QThread::finished, this, [done = std::move(done)] { done(); });
    thread->start();
}

std::filesystem::path QtPlatform::AppDataFolder() {
    if (!m_appData.empty()) {
        return m_appData;
    }
#ifdef Q_OS_WIN
    // The roaming application-data folder itself; the core adds its own folder name.
    return std::filesystem::path(qEnvironmentVariable("APPDATA").toStdWString());
#else
    return std::filesystem::path(
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation).toStdString());
#endif
}

}  // namespace varnow::platform
