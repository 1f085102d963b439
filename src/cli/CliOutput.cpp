#include "CliOutput.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <cstdio>

namespace varnow::cli {
namespace {

std::string WithoutCarriageReturns(const std::string& text) {
    std::string result;
    for (char c : text) {
        if (c != '\r') {
            result.push_back(c);
        }
    }
    return result;
}

// Characters as a terminal counts them: UTF-8 continuation bytes take no column. (Korean
// syllables take two columns on most terminals; counting them as one keeps the line short
// enough for the ASCII parts and is close for the text.)
std::size_t Columns(const std::string& text) {
    std::size_t count = 0;
    for (unsigned char c : text) {
        count += (c & 0xC0) != 0x80 ? ((c >= 0xE0) ? 2 : 1) : 0;
    }
    return count;
}

// The longest start of `text` that fits `columns`, whole characters only.
std::string Fit(const std::string& text, std::size_t columns) {
    std::string result;
    std::size_t used = 0;
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        const std::size_t width = lead >= 0xE0 ? 2 : 1;
        if (used + width > columns) {
            break;
        }
        result += text.substr(i, length);
        used += width;
        i += length;
    }
    return result;
}

std::string Format(const char* pattern, double a, double b = 0) {
    char text[64];
    std::snprintf(text, sizeof text, pattern, a, b);
    return text;
}

std::string Join(const std::vector<std::string>& parts) {
    std::string line;
    for (const std::string& part : parts) {
        if (part.empty()) {
            continue;
        }
        line += (line.empty() ? "" : "  ") + part;
    }
    return line;
}

QJsonObject ToJson(const CliOutput::Fields& fields) {
    QJsonObject object;
    for (const auto& [name, value] : fields) {
        object.insert(QString::fromStdString(name), value);
    }
    return object;
}

}  // namespace

std::string ForPeople(const QJsonValue& value) {
    switch (value.type()) {
        case QJsonValue::Bool:
            return value.toBool() ? "yes" : "no";
        case QJsonValue::Double: {
            const double number = value.toDouble();
            return number == static_cast<double>(static_cast<long long>(number))
                       ? std::to_string(static_cast<long long>(number))
                       : Format("%.3f", number);
        }
        case QJsonValue::Array: {
            std::string joined;
            for (const QJsonValue& item : value.toArray()) {
                joined += (joined.empty() ? "" : ", ") + ForPeople(item);
            }
            return joined;
        }
        case QJsonValue::String:
            return value.toString().toStdString();
        default:
            return {};
    }
}

namespace {

// A field's name as people read it: "image_hash" as "image hash". A setting's key (with its
// dot) stays as it is, so that what settings show prints can be given to settings set.
std::string Label(std::string name) {
    if (name.find('.') != std::string::npos) {
        return name;
    }
    for (char& c : name) {
        c = c == '_' ? ' ' : c;
    }
    return name;
}

}  // namespace

std::string RenderProgressLine(const ProgressLine& line, int columns, double seconds, int frame) {
    const std::size_t limit = static_cast<std::size_t>(std::max(columns, 2) - 1);
    if (line.total <= 0) {
        static constexpr const char* kFrames[] = {"|", "/", "-", "\\"};
        return Fit(std::string(kFrames[frame % 4]) + " " + line.text, limit);
    }
    const long long current = std::min(line.current, line.total);
    const double fraction = static_cast<double>(current) / static_cast<double>(line.total);
    const double all = static_cast<double>(line.payload > 0 ? line.payload : line.total);
    const double done = fraction * all;
    const double rate = seconds > 0.05 ? done / seconds : 0;
    const std::string percent = Format("%3.0f%%", 100.0 * fraction);
    std::string bytes = Format("%.1f/%.1f KiB", done / 1024, all / 1024);
    std::string speed = rate > 0 ? Format("%.1f KiB/s", rate / 1024) : "";
    std::string left;
    if (rate > 0) {
        const long long remaining = static_cast<long long>((all - done) / rate + 0.5);
        char text[32];
        std::snprintf(text, sizeof text, "%lld:%02lld left", remaining / 60, remaining % 60);
        left = text;
    }
    auto bar = [&](int width) {
        if (width == 0) {
            return std::string();
        }
        const int filled = static_cast<int>(static_cast<long long>(width) * current / line.total);
        return "[" + std::string(filled, '#') + std::string(width - filled, '.') + "]";
    };
    // Narrowed and dropped in this order until the line fits; then the text is shortened.
    int barWidth = 30;
    std::string composed;
    for (int attempt = 0;; ++attempt) {
        composed = Join({bar(barWidth), percent, bytes, speed, left, line.text});
        if (Columns(composed) <= limit) {
            return composed;
        }
        switch (attempt) {
            case 0:
                barWidth = 20;
                break;
            case 1:
                barWidth = 10;
                break;
            case 2:
                left.clear();
                break;
            case 3:
                speed.clear();
                break;
            case 4:
                barWidth = 0;
                break;
            case 5:
                bytes.clear();
                break;
            default:
                return Fit(composed, limit);
        }
    }
}

CliOutput::CliOutput(std::ostream& out, std::ostream& err, bool json, bool terminal,
                     std::function<int()> columns)
    : m_out(out), m_err(err), m_json(json), m_terminal(terminal), m_columns(std::move(columns)) {}

void CliOutput::WriteJson(const QJsonValue& object) {
    m_out << QJsonDocument(object.toObject()).toJson(QJsonDocument::Compact).toStdString()
          << std::endl;
}

void CliOutput::Message(const varnow::Message& message) {
    if (m_json) {
        WriteJson(
            QJsonObject{{"event", "message"},
                        {"style", StyleName(message.style)},
                        {"id", message.stringId},
                        {"text", QString::fromStdString(WithoutCarriageReturns(message.text))}});
        return;
    }
    EndProgress();
    // The one "error:" line of a failure is its last; what the board or a step said on the
    // way is told as a warning.
    const MessageStyle shown =
        message.style == MessageStyle::Error ? MessageStyle::Warning : message.style;
    m_err << StyleName(shown) << ": " << WithoutCarriageReturns(message.text) << std::endl;
}

void CliOutput::Progress(const ProgressLine& line) {
    const auto now = std::chrono::steady_clock::now();
    if (line.total <= 0 || line.current == 0 || !m_transferRunning) {
        m_transferRunning = line.total > 0;
        m_transferStart = now;
    }
    const long long percent =
        line.total > 0 ? 100 * std::min(line.current, line.total) / line.total : -1;
    const bool newText = line.text != m_lastText;
    if (m_json) {
        if (newText || percent != m_lastPercent) {
            QJsonObject event{{"event", "progress"},
                              {"step", QString::fromStdString(line.step)},
                              {"text", QString::fromStdString(line.text)}};
            if (line.total > 0) {
                const long long all = line.payload > 0 ? line.payload : line.total;
                event.insert("percent", static_cast<double>(percent));
                event.insert("done_bytes", static_cast<double>(line.current * all / line.total));
                event.insert("total_bytes", static_cast<double>(all));
            }
            WriteJson(event);
        }
    } else if (m_terminal) {
        const double seconds = std::chrono::duration<double>(now - m_transferStart).count();
        m_err << "\r\033[K" << RenderProgressLine(line, m_columns(), seconds, ++m_frame)
              << std::flush;
        m_progressShown = true;
    } else if (newText || (percent >= 0 && percent / 10 != m_lastTenth)) {
        // Plain lines: each text once, and every tenth of a transfer.
        m_err << "progress: " << line.text;
        if (line.total > 0) {
            const long long all = line.payload > 0 ? line.payload : line.total;
            m_err << "  " << percent << "%  "
                  << Format("%.1f/%.1f KiB",
                            static_cast<double>(line.current * all / line.total) / 1024,
                            static_cast<double>(all) / 1024);
        }
        m_err << std::endl;
    }
    m_lastText = line.text;
    m_lastPercent = percent;
    m_lastTenth = percent >= 0 ? percent / 10 : -1;
}

void CliOutput::EndProgress() {
    if (m_progressShown) {
        m_err << "\r\033[K" << std::flush;
        m_progressShown = false;
    }
    m_lastText.clear();
    m_lastPercent = -1;
    m_lastTenth = -1;
    m_transferRunning = false;
}

void CliOutput::Result(int status, const std::string& outcome, const Fields& fields) {
    EndProgress();
    if (m_json) {
        QJsonObject result = ToJson(fields);
        result.insert("event", "result");
        result.insert("status", status);
        result.insert("outcome", QString::fromStdString(outcome));
        WriteJson(result);
        return;
    }
    for (const auto& [name, value] : fields) {
        m_out << Label(name) << ": " << ForPeople(value) << "\n";
    }
    if (status != 0) {
        m_out << "outcome: " << outcome << "\n";
    }
    m_out << std::flush;
}

void CliOutput::Document(const std::string& text) {
    if (m_json) {
        return;
    }
    EndProgress();
    m_out << text << (text.ends_with('\n') ? "" : "\n") << std::flush;
}

void CliOutput::Error(const std::string& text) {
    EndProgress();
    // One line: the lines of a message text joined.
    std::string line = WithoutCarriageReturns(text);
    std::replace(line.begin(), line.end(), '\n', ' ');
    if (m_json) {
        WriteJson(QJsonObject{{"event", "error"}, {"text", QString::fromStdString(line)}});
        return;
    }
    m_err << "error: " << line << std::endl;
}

void CliOutput::Note(const std::string& text) {
    if (!m_json) {
        EndProgress();
        m_err << WithoutCarriageReturns(text) << std::endl;
    }
}

void CliOutput::Row(const std::string& event, const Fields& fields, const std::string& forPeople) {
    if (m_json) {
        QJsonObject row = ToJson(fields);
        row.insert("event", QString::fromStdString(event));
        WriteJson(row);
        return;
    }
    if (!forPeople.empty()) {
        Note(forPeople);
        return;
    }
    std::string line;
    for (const auto& field : fields) {
        line += (line.empty() ? "" : "\t") + ForPeople(field.second);
    }
    m_out << line << "\n";
}

}  // namespace varnow::cli
