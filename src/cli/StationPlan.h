#pragma once

#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "SettingsEditor.h"

namespace varnow::cli {

// The settings of a batch, one row a board, from a CSV file whose header names the columns as
// the keys of settings set. With an "mcu_id" column a board takes the row of its MCU id;
// without one, boards take the rows in the order they come. Each row is used once. Boards
// ask for their rows from their own threads.
class StationPlan {
public:
    // Nullopt with the reason when the file cannot be read or a key or value is refused.
    static std::optional<StationPlan> Load(const std::string& path, std::string& problem);

    // The settings for the board with this MCU id; nullopt when no row is left for it.
    std::optional<SettingPairs> RowFor(const std::string& mcuId);

    bool keyedByMcuId() const { return m_byMcuId; }
    std::size_t rows() const { return m_rows.size(); }

    StationPlan() = default;
    StationPlan(StationPlan&& other) noexcept;
    StationPlan& operator=(StationPlan&&) = delete;

private:
    struct Row {
        std::string mcuId;
        SettingPairs pairs;
        bool used = false;
    };

    bool m_byMcuId = false;
    std::vector<Row> m_rows;
    std::mutex m_mutex;
};

// One CSV record's fields (commas; quotes with "" inside quotes). For a file of lines.
std::vector<std::string> CsvFields(const std::string& line);

}  // namespace varnow::cli
