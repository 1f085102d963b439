#include "QtSerialPort.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QSerialPortInfo>
#include <algorithm>

namespace varnow::platform {
namespace {

constexpr int kFileNotFound = 2;
constexpr int kAccessDenied = 5;
constexpr int kWriteWaitMs = 1000;

int ErrorCode(QSerialPort::SerialPortError error) {
    switch (error) {
        case QSerialPort::NoError:
            return kSerialOk;
        case QSerialPort::DeviceNotFoundError:
            return kFileNotFound;
        case QSerialPort::PermissionError:
            return kAccessDenied;
        case QSerialPort::OpenError:
            return kSerialAlreadyOpen;
        case QSerialPort::TimeoutError:
            return kSerialTimedOut;
        case QSerialPort::NotOpenError:
            return kSerialNotOpen;
        default:
            return kSerialFailed;
    }
}

QString SystemLocation(const QString& portName) {
    return portName.startsWith('/') ? portName : QSerialPortInfo(portName).systemLocation();
}

bool IsPseudoTerminal(const QString& portName) {
    return QFileInfo(SystemLocation(portName)).canonicalFilePath().startsWith("/dev/pts/");
}

}  // namespace

QtSerialPort::QtSerialPort() {
    QObject::connect(&m_port, &QSerialPort::readyRead, this, [this] {
        if (m_notify) {
            m_notify();
        }
    });
}

int QtSerialPort::Open(const std::string& name) {
    if (m_port.isOpen()) {
        return kSerialAlreadyOpen;
    }
    m_port.setPortName(QString::fromStdString(name));
    if (!m_port.open(QIODevice::ReadWrite)) {
        return ErrorCode(m_port.error());
    }
    m_name = name;
    return kSerialOk;
}

int QtSerialPort::Setup() {
    if (!m_port.isOpen()) {
        return kSerialNotOpen;
    }
    const bool set =
        m_port.setBaudRate(QSerialPort::Baud115200) && m_port.setDataBits(QSerialPort::Data8) &&
        m_port.setParity(QSerialPort::NoParity) && m_port.setStopBits(QSerialPort::OneStop);
    return set ? kSerialOk : ErrorCode(m_port.error());
}

int QtSerialPort::SetupHandshaking() {
    if (!m_port.isOpen()) {
        return kSerialNotOpen;
    }
    if (!m_port.setFlowControl(QSerialPort::NoFlowControl)) {
        return ErrorCode(m_port.error());
    }
    // A pseudo-terminal (a simulated board) has no modem lines to assert.
    const bool lines = m_port.setDataTerminalReady(true) && m_port.setRequestToSend(true);
    if (!lines && !IsPseudoTerminal(m_port.portName())) {
        return ErrorCode(m_port.error());
    }
    m_port.clearError();
    return kSerialOk;
}

int QtSerialPort::SetMask(std::uint32_t) {
    // Qt reports arrivals by itself; the mask only has to be accepted.
    return m_port.isOpen() ? kSerialOk : kSerialNotOpen;
}

std::size_t QtSerialPort::Read(std::span<std::uint8_t> buffer) {
    if (!m_port.isOpen()) {
        return 0;
    }
    const qint64 count =
        m_port.read(reinterpret_cast<char*>(buffer.data()), static_cast<qint64>(buffer.size()));
    return count > 0 ? static_cast<std::size_t>(count) : 0;
}

std::size_t QtSerialPort::Write(ByteView bytes) {
    if (!m_port.isOpen()) {
        return 0;
    }
    const qint64 accepted = m_port.write(reinterpret_cast<const char*>(bytes.data()),
                                         static_cast<qint64>(bytes.size()));
    if (accepted <= 0) {
        return 0;
    }
    m_port.flush();  // writes at once what the driver takes without waiting
    QDeadlineTimer deadline(kWriteWaitMs);
    while (m_port.bytesToWrite() > 0 && !deadline.hasExpired()) {
        if (!m_port.waitForBytesWritten(static_cast<int>(deadline.remainingTime()))) {
            break;
        }
    }
    if (m_port.bytesToWrite() > 0) {
        m_port.clear(QSerialPort::Output);  // the write did not complete in time: cancel it
        return 0;
    }
    return static_cast<std::size_t>(accepted);
}

void QtSerialPort::Close() {
    if (m_port.isOpen()) {
        m_port.close();
    }
    m_name.clear();
}

PortProbe ProbeSerialPort(const std::string& name, bool heldHere) {
    const QString portName = QString::fromStdString(name);
#ifdef Q_OS_WIN
    const bool present = std::any_of(
        QSerialPortInfo::availablePorts().cbegin(), QSerialPortInfo::availablePorts().cend(),
        [&](const QSerialPortInfo& info) { return info.portName() == portName; });
#else
    const bool present = QFileInfo::exists(SystemLocation(portName));
#endif
    if (!present) {
        return PortProbe::Absent;
    }
    if (heldHere) {
        return PortProbe::InUse;
    }
    QSerialPort probe;
    probe.setPortName(portName);
    if (probe.open(QIODevice::ReadWrite)) {
        probe.close();
        return PortProbe::Free;
    }
    switch (probe.error()) {
        case QSerialPort::DeviceNotFoundError:
            return PortProbe::Absent;
        case QSerialPort::PermissionError:
        case QSerialPort::OpenError:
            return PortProbe::InUse;
        default:
            return PortProbe::Error;
    }
}

}  // namespace varnow::platform
