#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>

#include "common/Bytes.h"

namespace varnow {

// A board's settings block exactly as it was read, with the board it came from: saved before
// every write of settings, and what a restore sends back.
struct SettingsBackup {
    std::string mcuId;  // the board's MCU id
    std::string port;
    std::string saved;  // UTC, ISO 8601
    Bytes block;

    // Where the backups of a write go: <appData>/VarnoW/backups/<mcu id>-<time>.envs.
    static std::filesystem::path PathFor(const std::filesystem::path& appData,
                                         const std::string& mcuId,
                                         std::chrono::system_clock::time_point when);

    // False, with the reason, when the file cannot be written.
    bool Write(const std::filesystem::path& path, std::string& problem) const;
    // Nullopt, with the reason, when the file is missing or is no backup.
    static std::optional<SettingsBackup> Read(const std::filesystem::path& path,
                                              std::string& problem);
};

std::string Iso8601(std::chrono::system_clock::time_point when);

}  // namespace varnow
