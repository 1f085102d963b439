#include "CliOutput.h"

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

}  // namespace

std::string CliOutput::JsonString(const std::string& text) {
    std::string json = "\"";
    for (unsigned char c : text) {
        switch (c) {
            case '"':
                json += "\\\"";
                break;
            case '\\':
                json += "\\\\";
                break;
            case '\n':
                json += "\\n";
                break;
            case '\r':
                json += "\\r";
                break;
            case '\t':
                json += "\\t";
                break;
            default:
                if (c < 0x20) {
                    char escape[8];
                    std::snprintf(escape, sizeof escape, "\\u%04x", c);
                    json += escape;
                } else {
                    json.push_back(static_cast<char>(c));
                }
        }
    }
    return json + "\"";
}

void CliOutput::Message(const varnow::Message& message) {
    if (m_json) {
        m_out << "{\"event\":\"message\",\"style\":\"" << StyleName(message.style)
              << "\",\"id\":" << message.stringId << ",\"text\":" << JsonString(message.text) << "}"
              << std::endl;
        return;
    }
    EndProgress();
    m_err << StyleName(message.style) << ": " << WithoutCarriageReturns(message.text) << std::endl;
}

std::string CliOutput::TransferFigures(int current, int total) {
    const auto now = std::chrono::steady_clock::now();
    if (!m_transferRunning) {
        m_transferRunning = true;
        m_transferStart = now;
    }
    const double seconds = std::chrono::duration<double>(now - m_transferStart).count();
    const double rate = seconds > 0.05 ? current / seconds : 0.0;
    char figures[128];
    if (rate > 0) {
        const long long left = static_cast<long long>((total - current) / rate + 0.5);
        std::snprintf(figures, sizeof figures,
                      "%3lld%%  %.1f/%.1f KiB  %.1f KiB/s  %lld:%02lld left",
                      100LL * current / total, current / 1024.0, total / 1024.0, rate / 1024.0,
                      left / 60, left % 60);
    } else {
        std::snprintf(figures, sizeof figures, "%3lld%%  %.1f/%.1f KiB", 100LL * current / total,
                      current / 1024.0, total / 1024.0);
    }
    return figures;
}

void CliOutput::Progress(const std::string& text, int current, int total, int frame) {
    const long long percent = total > 0 ? 100LL * current / total : -1;
    const bool changed = text != m_lastProgressText || percent != m_lastPercent;
    if (m_json) {
        if (changed) {
            m_out << "{\"event\":\"progress\",\"text\":" << JsonString(text)
                  << ",\"current\":" << current << ",\"total\":" << total << "}" << std::endl;
        }
    } else if (!m_terminal) {
        // Plain lines: each text once, and every tenth of a transfer.
        if (text != m_lastProgressText || (percent >= 0 && percent / 10 != m_lastPercent / 10)) {
            m_err << "progress: " << text;
            if (total > 0) {
                m_err << "  " << TransferFigures(current, total);
            }
            m_err << std::endl;
        }
    } else {
        static constexpr const char* kFrames[] = {"|", "/", "-", "\\"};
        m_err << "\r\033[K";
        if (total > 0) {
            const int filled = static_cast<int>(30LL * current / total);
            m_err << '[' << std::string(filled, '#') << std::string(30 - filled, '.') << "] "
                  << TransferFigures(current, total) << "  " << text;
        } else {
            m_err << kFrames[frame % 4] << ' ' << text;
        }
        m_err << std::flush;
        m_progressShown = true;
    }
    if (total > 0 && current < total && current == 0) {
        m_transferRunning = false;  // a new transfer starts
    }
    m_lastProgressText = text;
    m_lastPercent = percent;
}

void CliOutput::EndProgress() {
    if (m_progressShown) {
        m_err << "\r\033[K" << std::flush;
        m_progressShown = false;
    }
    m_lastProgressText.clear();
    m_lastPercent = -1;
    m_transferRunning = false;
}

void CliOutput::Result(int status, const std::string& outcome, const Fields& fields) {
    EndProgress();
    if (m_json) {
        m_out << "{\"event\":\"result\",\"status\":" << status
              << ",\"outcome\":" << JsonString(outcome);
        for (const auto& [name, value] : fields) {
            m_out << ',' << JsonString(name) << ':' << JsonString(value);
        }
        m_out << "}" << std::endl;
        return;
    }
    for (const auto& [name, value] : fields) {
        m_out << name << ": " << value << "\n";
    }
    if (status != 0) {
        m_out << "outcome: " << outcome << "\n";
    }
    m_out << std::flush;
}

void CliOutput::Error(const std::string& text) {
    EndProgress();
    if (m_json) {
        m_out << "{\"event\":\"error\",\"text\":" << JsonString(WithoutCarriageReturns(text)) << "}"
              << std::endl;
        return;
    }
    m_err << "error: " << WithoutCarriageReturns(text) << std::endl;
}

void CliOutput::Line(const std::string& text) {
    if (!m_json) {
        m_out << text << "\n";
    }
}

}  // namespace varnow::cli
