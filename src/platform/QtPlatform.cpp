#include "QtPlatform.h"

#include <QCoreApplication>
#include <QStandardPaths>
#include <QThread>

namespace varnow::platform {

QtPlatform::QtPlatform(SerialPort& port, std::function<PortProbe(const std::string&)> probe)
    : m_port(port), m_probe(std::move(probe)) {}

QtPlatform::~QtPlatform() = default;

void QtPlatform::NotifyArrival() {
    if (m_arrivalQueued) {
        return;
    }
    m_arrivalQueued = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_arrivalQueued = false;
            if (m_listener) {
                m_listener->OnSerialEvent(kEventCharacterReceived);
            }
        },
        Qt::QueuedConnection);
}

void QtPlatform::NotifyDeviceChange(bool arrived) {
    Post([this, arrived] {
        if (m_listener) {
            arrived ? m_listener->OnDeviceArrival() : m_listener->OnDeviceRemoval();
        }
    });
}

PortProbe QtPlatform::ProbePort(const std::string& name) {
    return m_probe(name);
}

void QtPlatform::ArmTimer(int id, int milliseconds) {
    auto& timer = m_timers[id];
    if (!timer) {
        timer = std::make_unique<QTimer>();
        timer->setTimerType(Qt::PreciseTimer);
        QObject::connect(timer.get(), &QTimer::timeout, this, [this, id] {
            if (m_listener) {
                m_listener->OnTimer(id);
            }
        });
    }
    timer->start(milliseconds);
}

void QtPlatform::CancelTimer(int id) {
    const auto timer = m_timers.find(id);
    if (timer != m_timers.end()) {
        timer->second->stop();
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
