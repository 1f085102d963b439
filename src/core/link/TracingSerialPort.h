#pragma once

#include <functional>
#include <ostream>

#include "link/Platform.h"

namespace varnow {

// Wraps the port and records every byte written (">") and received ("<") with the time in
// seconds, as readable text with escapes for everything that is not printable ASCII.
class TracingSerialPort : public SerialPort {
public:
    TracingSerialPort(SerialPort& port, std::ostream& trace, std::function<double()> seconds)
        : m_port(port), m_trace(trace), m_seconds(std::move(seconds)) {}

    int Open(const std::string& name) override;
    int Setup() override { return m_port.Setup(); }
    int SetupHandshaking() override { return m_port.SetupHandshaking(); }
    int SetMask(std::uint32_t events) override { return m_port.SetMask(events); }
    std::size_t Read(std::span<std::uint8_t> buffer) override;
    std::size_t Write(ByteView bytes) override;
    void Close() override;
    bool IsOpen() const override { return m_port.IsOpen(); }
    std::string LastError() const override { return m_port.LastError(); }

    static std::string Escape(ByteView bytes);

private:
    void Record(char direction, ByteView bytes);

    SerialPort& m_port;
    std::ostream& m_trace;
    std::function<double()> m_seconds;
};

}  // namespace varnow
