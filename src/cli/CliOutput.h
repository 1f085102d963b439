#pragma once

#include <QJsonValue>
#include <chrono>
#include <functional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "ui/Message.h"

namespace varnow::cli {

// One state of a long operation as the command line shows it.
struct ProgressLine {
    std::string text;       // what is going on, in the user's language
    std::string step;       // the same as a word for scripts: "connecting", "sending", ...
    long long current = 0;  // of the bar's total; 0 and 0 for a spinner
    long long total = 0;
    long long payload = 0;  // the bytes the total stands for (0: the total's own units)
};

// A value as people read it: yes or no, numbers without decimals when whole, lists joined.
std::string ForPeople(const QJsonValue& value);

// The terminal's progress line for `line`, at most `columns - 1` characters: parts are
// dropped (time left, rate, bytes, then the bar) and the text shortened before it could wrap.
std::string RenderProgressLine(const ProgressLine& line, int columns, double seconds, int frame);

// Where the command line reports: for people, results on standard output and messages,
// progress and errors on standard error; with --json, one JSON object per line on standard
// output for every event.
class CliOutput {
public:
    using Fields = std::vector<std::pair<std::string, QJsonValue>>;

    // `columns`: the terminal's width now (asked at every repaint: it may change).
    CliOutput(
        std::ostream& out, std::ostream& err, bool json, bool terminal,
        std::function<int()> columns = [] { return 80; });

    bool json() const { return m_json; }
    void Message(const varnow::Message& message);
    // On a terminal one line that overwrites itself; elsewhere each text once, and every
    // tenth of a transfer.
    void Progress(const ProgressLine& line);
    void EndProgress();
    // The final result: "name: value" lines, or one JSON object with typed values.
    void Result(int status, const std::string& outcome, const Fields& fields);
    // The last line of a failed command: what failed and what to do next.
    void Error(const std::string& text);
    // A document for people (a report, a PEM file) on standard output, as it is (nothing
    // under --json: the result carries it).
    void Document(const std::string& text);
    // A remark for people on standard error (nothing under --json).
    void Note(const std::string& text);
    // One row of a listing: tab-separated for people (or `forPeople` on standard error when
    // given), a JSON object per row under --json.
    void Row(const std::string& event, const Fields& fields, const std::string& forPeople = {});

private:
    void WriteJson(const QJsonValue& object);

    std::ostream& m_out;
    std::ostream& m_err;
    bool m_json;
    bool m_terminal;
    std::function<int()> m_columns;
    bool m_progressShown = false;
    std::string m_lastText;
    long long m_lastTenth = -1;
    long long m_lastPercent = -1;
    int m_frame = 0;
    std::chrono::steady_clock::time_point m_transferStart;
    bool m_transferRunning = false;
};

}  // namespace varnow::cli
