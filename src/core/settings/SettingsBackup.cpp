#include "settings/SettingsBackup.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>

namespace varnow {
namespace {

constexpr const char* kFirstLine = "VARNOW-SETTINGS-BACKUP 1";

// The calendar date and time of `when` in UTC, in the given printf pattern of six numbers.
std::string Format(std::chrono::system_clock::time_point when, const char* pattern) {
    using namespace std::chrono;
    const auto day = floor<days>(when);
    const year_month_day date{day};
    const hh_mm_ss time{floor<seconds>(when - day)};
    char text[40];
    std::snprintf(text, sizeof text, pattern, static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                  static_cast<int>(time.hours().count()), static_cast<int>(time.minutes().count()),
                  static_cast<int>(time.seconds().count()));
    return text;
}

std::string ValueOf(const std::string& line, const std::string& key) {
    return line.starts_with(key + ": ") ? line.substr(key.size() + 2) : std::string();
}

}  // namespace

std::string Iso8601(std::chrono::system_clock::time_point when) {
    return Format(when, "%04d-%02u-%02uT%02d:%02d:%02dZ");
}

std::filesystem::path SettingsBackup::PathFor(const std::filesystem::path& appData,
                                              const std::string& mcuId,
                                              std::chrono::system_clock::time_point when) {
    const std::string board = mcuId.empty() ? "board" : mcuId;
    return appData / "VarnoW" / "backups" /
           (board + "-" + Format(when, "%04d%02u%02uT%02d%02d%02dZ") + ".envs");
}

bool SettingsBackup::Write(const std::filesystem::path& path, std::string& problem) const {
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file) {
        problem = std::strerror(errno);
        return false;
    }
    file << kFirstLine << "\nmcu-id: " << mcuId << "\nport: " << port << "\nsaved: " << saved
         << "\n\n";
    file.write(reinterpret_cast<const char*>(block.data()),
               static_cast<std::streamsize>(block.size()));
    file.close();
    if (!file) {
        problem = std::strerror(errno);
        return false;
    }
    return true;
}

std::optional<SettingsBackup> SettingsBackup::Read(const std::filesystem::path& path,
                                                   std::string& problem) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        problem = std::strerror(errno);
        return std::nullopt;
    }
    std::string line;
    if (!std::getline(file, line) || line != kFirstLine) {
        problem = "not a settings backup of this tool";
        return std::nullopt;
    }
    SettingsBackup backup;
    while (std::getline(file, line) && !line.empty()) {
        if (line.starts_with("mcu-id: ")) {
            backup.mcuId = ValueOf(line, "mcu-id");
        } else if (line.starts_with("port: ")) {
            backup.port = ValueOf(line, "port");
        } else if (line.starts_with("saved: ")) {
            backup.saved = ValueOf(line, "saved");
        }
    }
    backup.block.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return backup;
}

}  // namespace varnow
