#pragma once

#include <cstddef>
#include <deque>
#include <ostream>
#include <string>
#include <vector>

namespace varnow {

// Where the lines of a serial trace go.
class TraceSink {
public:
    virtual ~TraceSink() = default;
    virtual void Line(const std::string& line) = 0;
};

// Into a stream (a --trace file), flushed line by line.
class StreamTraceSink : public TraceSink {
public:
    explicit StreamTraceSink(std::ostream& out) : m_out(out) {}
    void Line(const std::string& line) override { m_out << line << '\n' << std::flush; }

private:
    std::ostream& m_out;
};

// The last `capacity` bytes of a trace, kept in memory so that a failure can still show the
// exchange that led to it; older lines go first.
class TraceRing : public TraceSink {
public:
    explicit TraceRing(std::size_t capacity = 256 * 1024) : m_capacity(capacity) {}
    void Line(const std::string& line) override;
    // The lines kept, oldest first, each ended by a line feed.
    std::string Text() const;
    bool empty() const { return m_lines.empty(); }

private:
    std::size_t m_capacity;
    std::size_t m_bytes = 0;
    std::deque<std::string> m_lines;
};

// Into several sinks at once.
class TeeTraceSink : public TraceSink {
public:
    void Add(TraceSink& sink) { m_sinks.push_back(&sink); }
    void Line(const std::string& line) override {
        for (TraceSink* sink : m_sinks) {
            sink->Line(line);
        }
    }

private:
    std::vector<TraceSink*> m_sinks;
};

}  // namespace varnow
