#include "link/TraceSink.h"

namespace varnow {

void TraceRing::Line(const std::string& line) {
    m_lines.push_back(line);
    m_bytes += line.size() + 1;
    while (m_bytes > m_capacity && m_lines.size() > 1) {
        m_bytes -= m_lines.front().size() + 1;
        m_lines.pop_front();
    }
}

std::string TraceRing::Text() const {
    std::string text;
    text.reserve(m_bytes);
    for (const std::string& line : m_lines) {
        text += line;
        text += '\n';
    }
    return text;
}

}  // namespace varnow
