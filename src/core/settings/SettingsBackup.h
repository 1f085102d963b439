#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>

#include "common/Bytes.h"

namespace varnow {

// A board's settings block exactly as it was read, with the board it came from: saved before
// every write of settings, and what a restore sends back.
struct SettingsBackup {
    // The largest backup file: its few header lines and the largest block.
    static constexpr std::size_t kLargestFile = 70 * 1024;

    std::string mcuId;  // the board's MCU id, as read
    std::string port;
    std::string saved;  // UTC, ISO 8601 with milliseconds
    Bytes block;

    // The name of a backup of the board `mcuId` made `when`, without its extension: the MCU
    // id only when it is one (else "unknown-board"), and the time to the millisecond.
    static std::string FileStem(const std::string& mcuId,
                                std::chrono::system_clock::time_point when);
    static constexpr const char* kExtension = ".envs";

    Bytes Serialize() const;
    // Nullopt, with the reason, when the bytes are no backup of this tool.
    static std::optional<SettingsBackup> Parse(ByteView bytes, std::string& problem);
};

// UTC, ISO 8601, to the second ("2026-12-11T13:08:30Z") or to the millisecond.
std::string Iso8601(std::chrono::system_clock::time_point when, bool milliseconds = false);

}  // namespace varnow
