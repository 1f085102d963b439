#include "link/TracingSerialPort.h"

#include <cstdio>

namespace varnow {

int TracingSerialPort::Open(const std::string& name) {
    const int result = m_port.Open(name);
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%10.3f", m_seconds());
    m_trace << stamp << " = open " << name << " -> " << result << "\n";
    return result;
}

std::size_t TracingSerialPort::Read(std::span<std::uint8_t> buffer) {
    const std::size_t count = m_port.Read(buffer);
    if (count > 0) {
        Record('<', ByteView(buffer.data(), count));
    }
    return count;
}

std::size_t TracingSerialPort::Write(ByteView bytes) {
    const std::size_t count = m_port.Write(bytes);
    Record('>', bytes);
    if (count != bytes.size()) {
        m_trace << "           ! wrote " << count << " of " << bytes.size() << "\n";
    }
    return count;
}

void TracingSerialPort::Close() {
    if (m_port.IsOpen()) {
        char stamp[32];
        std::snprintf(stamp, sizeof stamp, "%10.3f", m_seconds());
        m_trace << stamp << " = close\n";
    }
    m_port.Close();
}

void TracingSerialPort::Record(char direction, ByteView bytes) {
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%10.3f", m_seconds());
    m_trace << stamp << ' ' << direction << ' ' << Escape(bytes) << "\n";
    m_trace.flush();
}

std::string TracingSerialPort::Escape(ByteView bytes) {
    std::string text;
    for (std::uint8_t byte : bytes) {
        switch (byte) {
            case '\r':
                text += "\\r";
                break;
            case '\n':
                text += "\\n";
                break;
            case '\\':
                text += "\\\\";
                break;
            default:
                if (byte >= 0x20 && byte < 0x7F) {
                    text.push_back(static_cast<char>(byte));
                } else {
                    char hex[8];
                    std::snprintf(hex, sizeof hex, "\\x%02x", byte);
                    text += hex;
                }
        }
    }
    return text;
}

}  // namespace varnow
