#include "link/TracingSerialPort.h"

#include <cstdio>

namespace varnow {
namespace {

std::string Withheld(std::size_t count) {
    std::string text = "[";
    text += std::to_string(count);
    text += " bytes withheld]";
    return text;
}

}  // namespace

std::string TracingSerialPort::Stamp() const {
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%10.3f", m_seconds());
    return stamp;
}

int TracingSerialPort::Open(const std::string& name) {
    const int result = m_port.Open(name);
    m_withholdingSent = m_withholdingReceived = false;
    m_trace.Line(Stamp() + " = open " + name + " -> " + std::to_string(result));
    return result;
}

std::size_t TracingSerialPort::Read(std::span<std::uint8_t> buffer) {
    const std::size_t count = m_port.Read(buffer);
    if (count == 0) {
        return count;
    }
    const ByteView bytes(buffer.data(), count);
    if (m_withholdingReceived) {
        m_withholdingReceived = !EndsReceivedBlock(bytes);
        Record('<', Withheld(count));
    } else {
        Record('<', Escape(bytes));
    }
    return count;
}

bool TracingSerialPort::EndsReceivedBlock(ByteView bytes) {
    // Base64 lines never hold STX or a line feed: only the reply that ends them can start
    // with "411" after one.
    m_receivedTail.append(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    const bool ended = m_receivedTail.find(
                           "\x02"
                           "411") != std::string::npos ||
                       m_receivedTail.find("\n411") != std::string::npos;
    if (m_receivedTail.size() > 4) {
        m_receivedTail.erase(0, m_receivedTail.size() - 4);
    }
    if (ended) {
        m_receivedTail.clear();
    }
    return ended;
}

std::string TracingSerialPort::Shown(ByteView bytes) {
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (m_withholdingSent) {
        m_withholdingSent = text.find("\r\r") == std::string_view::npos;
        return Withheld(bytes.size());
    }
    // A new command: whatever block was coming has ended. The login's challenge ("413") is
    // withheld with its answer: the two together would let anyone test guesses offline.
    m_withholdingReceived =
        text == "send envs\r" || text == "send envc\r" || text.starts_with("auth chap");
    m_receivedTail.clear();
    m_withholdingSent = text == "recv envs\r" || text == "recv envc\r";
    for (const std::string_view secret : {"reboot psk", "auth hash"}) {
        if (text.starts_with(secret)) {
            std::string shown(secret);
            shown += ' ';
            shown += Withheld(bytes.size());
            return shown;
        }
    }
    return Escape(bytes);
}

std::size_t TracingSerialPort::Write(ByteView bytes) {
    const std::size_t count = m_port.Write(bytes);
    Record('>', Shown(bytes));
    if (count != bytes.size()) {
        m_trace.Line("           ! wrote " + std::to_string(count) + " of " +
                     std::to_string(bytes.size()));
    }
    return count;
}

void TracingSerialPort::Close() {
    if (m_port.IsOpen()) {
        m_trace.Line(Stamp() + " = close");
    }
    m_port.Close();
}

void TracingSerialPort::Record(char direction, const std::string& text) {
    m_trace.Line(Stamp() + ' ' + direction + ' ' + text);
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
