#include "QtSerialPort.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QSerialPortInfo>
#include <algorithm>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <QFile>
#include <cerrno>
#endif

namespace varnow::platform {
namespace {

constexpr int kWriteWaitMs = 1000;

int ErrorCode(QSerialPort::SerialPortError error) {
    switch (error) {
        case QSerialPort::NoError:
            return kSerialOk;
        case QSerialPort::DeviceNotFoundError:
            return kSerialNotFound;
        case QSerialPort::PermissionError:
            return kSerialAccessDenied;
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

// What Qt is to open for a port given by the user: a device name (ttyACM0, COM3) as it is, a
// path (relative ones too, and a plain name that only exists here) made absolute.
QString PortToOpen(const QString& name) {
#ifdef Q_OS_UNIX
    const bool path =
        name.contains('/') || (!QFileInfo::exists("/dev/" + name) && QFileInfo::exists(name));
    if (path) {
        return QFileInfo(name).absoluteFilePath();
    }
#endif
    return name;
}

// Whether the open device is a terminal at all: a file or /dev/null opens, but is no line.
bool IsTerminal([[maybe_unused]] QSerialPort& port) {
#ifdef Q_OS_UNIX
    return ::isatty(static_cast<int>(port.handle())) == 1;
#else
    return true;
#endif
}

// Whether a device that would not open as a serial port is no terminal at all (a file,
// /dev/null): looked at only after the open failed, so that no working line is disturbed.
bool IsNoTerminal([[maybe_unused]] const QString& location) {
#ifdef Q_OS_UNIX
    const int fd =
        ::open(QFile::encodeName(location).constData(), O_RDONLY | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        return false;
    }
    const bool terminal = ::isatty(fd) == 1;
    ::close(fd);
    return !terminal;
#else
    return false;
#endif
}

// A pseudo-terminal (a simulated board, socat) is a terminal without modem lines.
bool HasModemLines([[maybe_unused]] QSerialPort& port) {
#ifdef Q_OS_UNIX
    int bits = 0;
    return ::ioctl(static_cast<int>(port.handle()), TIOCMGET, &bits) == 0 ||
           (errno != ENOTTY && errno != EINVAL);
#else
    return true;
#endif
}

}  // namespace

QtSerialPort::QtSerialPort() {
    QObject::connect(&m_port, &QSerialPort::readyRead, this, [this] {
        if (m_notify) {
            m_notify();
        }
    });
    // A device that goes while it is held (a USB board pulled, a pseudo-terminal's other end
    // closed) fails the port for good: it is closed and the loss told at once.
    QObject::connect(&m_port, &QSerialPort::errorOccurred, this,
                     [this](QSerialPort::SerialPortError error) {
                         if (error != QSerialPort::ResourceError || !m_port.isOpen()) {
                             return;
                         }
                         m_port.close();
                         m_name.clear();
                         if (m_failed) {
                             m_failed();
                         }
                     });
}

int QtSerialPort::Open(const std::string& name) {
    if (m_port.isOpen()) {
        return kSerialAlreadyOpen;
    }
    m_lastError.clear();
    const QString location = PortToOpen(QString::fromStdString(name));
    m_port.setPortName(location);
    if (!m_port.open(QIODevice::ReadWrite)) {
        m_lastError = m_port.errorString().toStdString();
        if (IsNoTerminal(SystemLocation(location))) {
            return kSerialNotATerminal;
        }
        return ErrorCode(m_port.error());
    }
    if (!IsTerminal(m_port)) {
        m_port.close();
        return kSerialNotATerminal;
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
    if (!set) {
        m_lastError = m_port.errorString().toStdString();
        return ErrorCode(m_port.error());
    }
    return kSerialOk;
}

int QtSerialPort::SetupHandshaking() {
    if (!m_port.isOpen()) {
        return kSerialNotOpen;
    }
    if (!m_port.setFlowControl(QSerialPort::NoFlowControl)) {
        m_lastError = m_port.errorString().toStdString();
        return ErrorCode(m_port.error());
    }
    const bool lines = m_port.setDataTerminalReady(true) && m_port.setRequestToSend(true);
    if (!lines && HasModemLines(m_port)) {
        m_lastError = m_port.errorString().toStdString();
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
    const QString portName = PortToOpen(QString::fromStdString(name));
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
