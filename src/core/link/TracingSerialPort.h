#pragma once

#include <functional>
#include <string>

#include "link/Platform.h"
#include "link/TraceSink.h"

namespace varnow {

// Wraps the port and records every byte written (">") and received ("<") with the time in
// seconds, as readable text with escapes for everything that is not printable ASCII. What
// holds secrets is withheld, only its size recorded: the settings block and the certificate
// block in both directions (wireless keys, the private key), the record of a password
// command, and the login's challenge and its answer.
class TracingSerialPort : public SerialPort {
public:
    TracingSerialPort(SerialPort& port, TraceSink& trace, std::function<double()> seconds)
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
    void Record(char direction, const std::string& text);
    std::string Stamp() const;
    // What a write shows in the trace; follows which secret text is on its way.
    std::string Shown(ByteView bytes);
    // Whether received bytes end the block being withheld: its "411" line has come.
    bool EndsReceivedBlock(ByteView bytes);

    SerialPort& m_port;
    TraceSink& m_trace;
    std::function<double()> m_seconds;
    bool m_withholdingSent = false;
    bool m_withholdingReceived = false;
    std::string m_receivedTail;  // the last bytes received, for a "411" split between reads
};

}  // namespace varnow
