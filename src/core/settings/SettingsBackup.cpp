#include "settings/SettingsBackup.h"

#include <cstdio>

#include "common/McuId.h"

namespace varnow {
namespace {

constexpr const char* kFirstLine = "VARNOW-SETTINGS-BACKUP 1";

// The calendar date and time of `when` in UTC, in the given printf pattern of seven numbers.
std::string Format(std::chrono::system_clock::time_point when, const char* pattern) {
    using namespace std::chrono;
    const auto day = floor<days>(when);
    const year_month_day date{day};
    const hh_mm_ss time{floor<milliseconds>(when - day)};
    char text[48];
    std::snprintf(text, sizeof text, pattern, static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                  static_cast<int>(time.hours().count()), static_cast<int>(time.minutes().count()),
                  static_cast<int>(time.seconds().count()),
                  static_cast<int>(time.subseconds().count()));
    return text;
}

std::string ValueOf(const std::string& line, const std::string& key) {
    return line.starts_with(key + ": ") ? line.substr(key.size() + 2) : std::string();
}

}  // namespace

std::string Iso8601(std::chrono::system_clock::time_point when, bool milliseconds) {
    return Format(when, milliseconds ? "%04d-%02u-%02uT%02d:%02d:%02d.%03dZ"
                                     : "%04d-%02u-%02uT%02d:%02d:%02dZ");
}

std::string SettingsBackup::FileStem(const std::string& mcuId,
                                     std::chrono::system_clock::time_point when) {
    const std::string board = IsMcuId(mcuId) ? mcuId : "unknown-board";
    return board + "-" + Format(when, "%04d%02u%02uT%02d%02d%02d.%03dZ");
}

Bytes SettingsBackup::Serialize() const {
    const std::string head = std::string(kFirstLine) + "\nmcu-id: " + mcuId + "\nport: " + port +
                             "\nsaved: " + saved + "\n\n";
    Bytes bytes(head.begin(), head.end());
    bytes.insert(bytes.end(), block.begin(), block.end());
    return bytes;
}

std::optional<SettingsBackup> SettingsBackup::Parse(ByteView bytes, std::string& problem) {
    std::size_t at = 0;
    auto nextLine = [&](std::string& line) {
        if (at >= bytes.size()) {
            return false;
        }
        std::size_t end = at;
        while (end < bytes.size() && bytes[end] != '\n') {
            ++end;
        }
        line.assign(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                    bytes.begin() + static_cast<std::ptrdiff_t>(end));
        at = end + 1;
        return true;
    };
    std::string line;
    if (!nextLine(line) || line != kFirstLine) {
        problem = "not a settings backup of this tool";
        return std::nullopt;
    }
    SettingsBackup backup;
    while (nextLine(line) && !line.empty()) {
        if (line.starts_with("mcu-id: ")) {
            backup.mcuId = ValueOf(line, "mcu-id");
        } else if (line.starts_with("port: ")) {
            backup.port = ValueOf(line, "port");
        } else if (line.starts_with("saved: ")) {
            backup.saved = ValueOf(line, "saved");
        }
    }
    if (at < bytes.size()) {
        backup.block.assign(bytes.begin() + static_cast<std::ptrdiff_t>(at), bytes.end());
    }
    return backup;
}

}  // namespace varnow
