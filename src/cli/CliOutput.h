#pragma once

#include <chrono>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "ui/Message.h"

namespace varnow::cli {

// Where the command line reports: for people, results on standard output and messages and
// progress on standard error; with --json, one JSON object per line on standard output.
class CliOutput {
public:
    using Fields = std::vector<std::pair<std::string, std::string>>;

    CliOutput(std::ostream& out, std::ostream& err, bool json, bool terminal)
        : m_out(out), m_err(err), m_json(json), m_terminal(terminal) {}

    bool json() const { return m_json; }
    void Message(const varnow::Message& message);
    // A progress line; on a terminal it overwrites itself, elsewhere each text shows once.
    void Progress(const std::string& text, int current, int total, int frame);
    void EndProgress();
    // The final result: the fields as "name: value" lines, or one JSON object.
    void Result(int status, const std::string& outcome, const Fields& fields);
    // The last line of a failed command: what failed and what to do next.
    void Error(const std::string& text);
    // A line of a human listing (ignored under --json, where Result carries the data).
    void Line(const std::string& text);

    static std::string JsonString(const std::string& text);

private:
    std::ostream& m_out;
    std::ostream& m_err;
    bool m_json;
    bool m_terminal;
    bool m_progressShown = false;
    std::string m_lastProgressText;
    long long m_lastPercent = -1;
    std::chrono::steady_clock::time_point m_transferStart;
    bool m_transferRunning = false;
    // "45%  2.4/5.2 MB  412 KB/s  0:07 left" for a transfer under way.
    std::string TransferFigures(int current, int total);
};

}  // namespace varnow::cli
