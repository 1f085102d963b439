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
            case '"': json += "\\\""; break;
            case '\\': json += "\\\\"; break;
            case '\n': json += "\\n"; break;
            case '\r': json += "\\r"; break;
            case '\t': json += "\\t"; break;
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
              << "\",\"id\":" << message.stringId << ",\"text\":" << JsonString(message.text)
              << "}" << std::endl;
        return;
    }
    EndProgress();
    m_err << StyleName(message.style) << ": " << WithoutCarriageReturns(message.text) << std::endl;
}

void CliOutput::Progress(const std::string& text, int current, int total, int frame) {
    if (m_json) {
        if (text != m_lastProgressText || total > 0) {
            m_out << "{\"event\":\"progress\",\"text\":" << JsonString(text)
                  << ",\"current\":" << current << ",\"total\":" << total << "}" << std::endl;
        }
        m_lastProgressText = text;
        return;
    }
    if (!m_terminal) {
        if (text != m_lastProgressText) {
            m_err << "progress: " << text << std::endl;
        }
        m_lastProgressText = text;
        return;
    }
    static constexpr const char* kFrames[] = {"|", "/", "-", "\\"};
    m_err << "\r\033[K" << kFrames[frame % 4] << ' ' << text;
    if (total > 0) {
        m_err << ' ' << (100LL * current / total) << '%';
    }
    m_err << std::flush;
    m_progressShown = true;
    m_lastProgressText = text;
}

void CliOutput::EndProgress() {
    if (m_progressShown) {
        m_err << "\r\033[K" << std::flush;
        m_progressShown = false;
    }
    m_lastProgressText.clear();
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

void CliOutput::Line(const std::string& text) {
    if (!m_json) {
        m_out << text << "\n";
    }
}

}  // namespace varnow::cli
