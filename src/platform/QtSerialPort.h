#pragma once

#include <QObject>
#include <QSerialPort>
#include <functional>

#include "link/Platform.h"

namespace varnow::platform {

// The board's serial port over QSerialPort: exclusive open, 115200 8N1 without flow control,
// DTR and RTS asserted, reads that never block and writes that wait at most a second. Arrivals
// are reported through the notifier, which the platform queues.
class QtSerialPort : public QObject, public SerialPort {
public:
    QtSerialPort();

    // `arrived`: bytes have arrived; `failed`: the open port failed for good (its device
    // went while it was held). Both are told from the loop, after the call that noticed.
    void SetNotifiers(std::function<void()> arrived, std::function<void()> failed) {
        m_notify = std::move(arrived);
        m_failed = std::move(failed);
    }

    int Open(const std::string& name) override;
    int Setup() override;
    int SetupHandshaking() override;
    int SetMask(std::uint32_t events) override;
    std::size_t Read(std::span<std::uint8_t> buffer) override;
    std::size_t Write(ByteView bytes) override;
    void Close() override;
    bool IsOpen() const override { return m_port.isOpen(); }
    std::string LastError() const override { return m_lastError; }

    const std::string& name() const { return m_name; }

private:
    QSerialPort m_port;
    std::string m_name;
    std::string m_lastError;
    std::function<void()> m_notify;
    std::function<void()> m_failed;
};

// Probes a port by name without keeping it: absent when its device is gone, in use when
// someone holds it (`heldHere`: this program does), else free.
PortProbe ProbeSerialPort(const std::string& name, bool heldHere);

}  // namespace varnow::platform
