#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace varnow {

// The raw Base64 lines of a bulk reply, gathered until the line that ends it, bounded by the
// buffer that holds them (lines that would overflow it are dropped).
class BulkReply {
public:
    explicit BulkReply(std::size_t capacity) : m_capacity(capacity) {}

    void Clear() { m_text.clear(); }
    // False (and nothing appended) when the line would not fit.
    bool Append(std::string_view line) {
        if (m_text.size() + line.size() > m_capacity) {
            return false;
        }
        m_text += line;
        return true;
    }
    const std::string& text() const { return m_text; }
    bool empty() const { return m_text.empty(); }

private:
    std::size_t m_capacity;
    std::string m_text;
};

}  // namespace varnow
