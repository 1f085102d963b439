#pragma once

#include <cstddef>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "common/Bytes.h"
#include "settings/SettingsEditor.h"

namespace varnow {

// The settings of a batch, one row a board, from a CSV file whose header names the columns as
// the keys of settings set. With an "mcu_id" column a board takes the row of its MCU id;
// without one, boards take the rows in the order they come. Each row is used once. The whole
// file is checked when it is loaded (every cell by the settings rules), so that no board is
// written from a plan that would fail on a later one. Boards ask for their rows from their
// own threads.
class SettingsPlan {
public:
    static constexpr std::size_t kLargestFile = 4u << 20;

    struct Row {
        int line = 0;       // in the file, for messages
        std::string mcuId;  // lower case; empty without an mcu_id column
        SettingPairs pairs;
        bool used = false;
    };

    // Nullopt with the reason ("line 4: ...") when the text is refused: nothing of it is used.
    static std::optional<SettingsPlan> Parse(ByteView text, std::string& problem);
    // The same for a file, read only when it is a regular file of at most kLargestFile bytes.
    static std::optional<SettingsPlan> Load(const std::filesystem::path& path,
                                            std::string& problem);

    // Whether a row is left for the board with this MCU id (any row, without an mcu_id column).
    bool HasRowFor(const std::string& mcuId);
    // The settings for the board with this MCU id, which is then used; nullopt when no row is
    // left for it.
    std::optional<SettingPairs> RowFor(const std::string& mcuId);

    bool keyedByMcuId() const { return m_byMcuId; }
    std::size_t rows() const { return m_rows.size(); }
    const std::vector<Row>& allRows() const { return m_rows; }

    SettingsPlan() = default;
    SettingsPlan(SettingsPlan&& other) noexcept;
    SettingsPlan& operator=(SettingsPlan&&) = delete;

private:
    Row* Find(const std::string& mcuId);

    bool m_byMcuId = false;
    std::vector<Row> m_rows;
    std::mutex m_mutex;
};

// The records of a CSV text (commas; quoted fields with "" for a quote, which may hold commas
// and line ends), each with the line it starts on; nullopt with the line of an unbalanced
// quote.
struct CsvRecord {
    int line = 0;
    std::vector<std::string> fields;
};
std::optional<std::vector<CsvRecord>> ParseCsv(std::string_view text, int& badLine);

}  // namespace varnow
