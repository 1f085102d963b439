#include "station/SettingsPlan.h"

#include <algorithm>
#include <cctype>

#include "common/McuId.h"
#include "files/RegularFile.h"
#include "ui/MessageIds.h"

namespace varnow {
namespace {

std::string Trimmed(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) {
        text.remove_suffix(1);
    }
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) {
        text.remove_prefix(1);
    }
    return std::string(text);
}

std::string Lower(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return text;
}

std::string AtLine(int line, const std::string& what) {
    return "line " + std::to_string(line) + ": " + what;
}

}  // namespace

std::optional<std::vector<CsvRecord>> ParseCsv(std::string_view text, int& badLine) {
    std::vector<CsvRecord> records;
    CsvRecord record{1, {std::string()}};
    int line = 1;
    bool quoted = false;
    int quoteLine = 0;
    bool fieldStarted = false;
    auto endRecord = [&] {
        const bool blank = record.fields.size() == 1 && Trimmed(record.fields.front()).empty();
        if (!blank) {
            records.push_back(std::move(record));
        }
        record = CsvRecord{line, {std::string()}};
        fieldStarted = false;
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                record.fields.back() += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                line += c == '\n' ? 1 : 0;
                record.fields.back() += c;
            }
        } else if (c == '"' && !fieldStarted) {
            quoted = true;
            quoteLine = line;
            fieldStarted = true;
        } else if (c == '"') {
            badLine = line;  // a quote inside an unquoted field
            return std::nullopt;
        } else if (c == ',') {
            record.fields.emplace_back();
            fieldStarted = false;
        } else if (c == '\n') {
            ++line;
            endRecord();
        } else if (c != '\r') {
            if (!std::isspace(static_cast<unsigned char>(c))) {
                fieldStarted = true;
            }
            record.fields.back() += c;
        }
    }
    if (quoted) {
        badLine = quoteLine;
        return std::nullopt;
    }
    endRecord();
    return records;
}

SettingsPlan::SettingsPlan(SettingsPlan&& other) noexcept
    : m_byMcuId(other.m_byMcuId), m_rows(std::move(other.m_rows)) {}

std::optional<SettingsPlan> SettingsPlan::Load(const std::filesystem::path& path,
                                               std::string& problem) {
    const UserFile file = ReadRegularFile(path, kLargestFile);
    if (!file.ok()) {
        problem = file.problem;
        return std::nullopt;
    }
    return Parse(file.bytes, problem);
}

std::optional<SettingsPlan> SettingsPlan::Parse(ByteView bytes, std::string& problem) {
    std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (text.starts_with("\xEF\xBB\xBF")) {
        text.remove_prefix(3);  // a byte-order mark, as spreadsheets write one
    }
    int badLine = 0;
    const std::optional<std::vector<CsvRecord>> records = ParseCsv(text, badLine);
    if (!records) {
        problem = AtLine(badLine, "a quote is not closed, or stands inside an unquoted cell");
        return std::nullopt;
    }
    if (records->empty()) {
        problem = "it is empty";
        return std::nullopt;
    }
    std::vector<std::string> header;
    for (const std::string& name : records->front().fields) {
        const std::string column = Trimmed(name);
        if (std::find(header.begin(), header.end(), column) != header.end()) {
            problem = AtLine(1, "the column " + column + " is named twice");
            return std::nullopt;
        }
        if (column != "mcu_id") {
            const auto refused = SettingsEditor::CheckSyntax(column, "");
            if (refused && (refused->stringId == kCliUnknownSetting ||
                            refused->stringId == kCliSettingShownOnly)) {
                problem = AtLine(1, "the column " + column +
                                        " is no setting that can be written (see settings set "
                                        "--help)");
                return std::nullopt;
            }
        }
        header.push_back(column);
    }
    SettingsPlan plan;
    plan.m_byMcuId = std::find(header.begin(), header.end(), "mcu_id") != header.end();
    for (std::size_t r = 1; r < records->size(); ++r) {
        const CsvRecord& record = (*records)[r];
        if (record.fields.size() > header.size()) {
            problem = AtLine(record.line, "more cells than columns");
            return std::nullopt;
        }
        Row row;
        row.line = record.line;
        for (std::size_t i = 0; i < record.fields.size(); ++i) {
            const std::string value = Trimmed(record.fields[i]);
            if (header[i] == "mcu_id") {
                row.mcuId = Lower(value);
                if (!IsMcuId(row.mcuId)) {
                    problem = AtLine(record.line, "the MCU id is not 40 hexadecimal digits");
                    return std::nullopt;
                }
                continue;
            }
            if (!value.empty()) {  // an empty cell leaves that setting as the board has it
                row.pairs.emplace_back(header[i], value);
            }
        }
        if (plan.m_byMcuId && row.mcuId.empty()) {
            problem = AtLine(record.line, "no MCU id");
            return std::nullopt;
        }
        if (plan.m_byMcuId && plan.Find(row.mcuId) != nullptr) {
            problem = AtLine(record.line, "the MCU id " + row.mcuId + " has a row already");
            return std::nullopt;
        }
        // Checked by the settings rules now: a value is refused before any board is written.
        // The value is not repeated: it may be a key or a password.
        for (const auto& [key, value] : row.pairs) {
            if (SettingsEditor::CheckSyntax(key, value)) {
                problem = AtLine(record.line,
                                 "the value of " + key + " is refused (see settings set --help)");
                return std::nullopt;
            }
        }
        plan.m_rows.push_back(std::move(row));
    }
    if (plan.m_rows.empty()) {
        problem = "it holds no rows";
        return std::nullopt;
    }
    return plan;
}

SettingsPlan::Row* SettingsPlan::Find(const std::string& mcuId) {
    const std::string wanted = Lower(mcuId);
    for (Row& row : m_rows) {
        if (!row.used && (!m_byMcuId || row.mcuId == wanted)) {
            return &row;
        }
    }
    return nullptr;
}

bool SettingsPlan::HasRowFor(const std::string& mcuId) {
    const std::lock_guard lock(m_mutex);
    return Find(mcuId) != nullptr;
}

std::optional<SettingPairs> SettingsPlan::RowFor(const std::string& mcuId) {
    const std::lock_guard lock(m_mutex);
    Row* row = Find(mcuId);
    if (row == nullptr) {
        return std::nullopt;
    }
    row->used = true;
    return row->pairs;
}

}  // namespace varnow
