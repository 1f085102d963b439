#include "StationPlan.h"

#include <algorithm>
#include <cctype>
#include <fstream>

namespace varnow::cli {
namespace {

std::string Trimmed(std::string text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) {
        text.pop_back();
    }
    const auto first =
        std::find_if(text.begin(), text.end(), [](unsigned char c) { return !std::isspace(c); });
    return std::string(first, text.end());
}

std::string Lower(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return text;
}

}  // namespace

std::vector<std::string> CsvFields(const std::string& line) {
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
                fields.back() += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                fields.back() += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            fields.emplace_back();
        } else if (c != '\r') {
            fields.back() += c;
        }
    }
    return fields;
}

StationPlan::StationPlan(StationPlan&& other) noexcept
    : m_byMcuId(other.m_byMcuId), m_rows(std::move(other.m_rows)) {}

std::optional<StationPlan> StationPlan::Load(const std::string& path, std::string& problem) {
    std::ifstream in(path);
    if (!in) {
        problem = path + " cannot be opened";
        return std::nullopt;
    }
    std::string line;
    if (!std::getline(in, line)) {
        problem = path + " is empty";
        return std::nullopt;
    }
    std::vector<std::string> header = CsvFields(line);
    for (std::string& name : header) {
        name = Trimmed(name);
    }
    StationPlan plan;
    const auto mcuColumn = std::find(header.begin(), header.end(), "mcu_id");
    plan.m_byMcuId = mcuColumn != header.end();
    for (int number = 2; std::getline(in, line); ++number) {
        if (Trimmed(line).empty()) {
            continue;
        }
        const std::vector<std::string> fields = CsvFields(line);
        Row row;
        for (std::size_t i = 0; i < header.size() && i < fields.size(); ++i) {
            const std::string value = Trimmed(fields[i]);
            if (header[i] == "mcu_id") {
                row.mcuId = Lower(value);
                continue;
            }
            if (value.empty()) {
                continue;  // an empty cell leaves that setting as the board has it
            }
            if (const auto wrong = SettingsEditor::CheckSyntax(header[i], value)) {
                // The value is not repeated: it may be a key or a password.
                problem = "line " + std::to_string(number) + ": the value of " + header[i] +
                          " is refused (see settings set --help)";
                return std::nullopt;
            }
            row.pairs.emplace_back(header[i], value);
        }
        plan.m_rows.push_back(std::move(row));
    }
    return plan;
}

std::optional<SettingPairs> StationPlan::RowFor(const std::string& mcuId) {
    const std::lock_guard lock(m_mutex);
    const std::string wanted = Lower(mcuId);
    for (Row& row : m_rows) {
        if (!row.used && (!m_byMcuId || row.mcuId == wanted)) {
            row.used = true;
            return row.pairs;
        }
    }
    return std::nullopt;
}

}  // namespace varnow::cli
