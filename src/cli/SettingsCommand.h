#pragma once

#include <string>
#include <vector>

#include "BoardCommand.h"
#include "ops/SettingsOperations.h"

namespace varnow::cli {

// Tells what a write of settings did: the changes (a secret by name only), where the block as
// read was saved, whether it was verified and the board restarted. Shared with the station.
void ReportSettingsWrite(CommandContext& context, const SettingsResult& result,
                         CliOutput::Fields& fields);

// settings show: the board's settings by the keys settings set takes.
class SettingsShowCommand : public BoardCommand {
public:
    std::vector<std::string> Path() const override { return {"settings", "show"}; }
    std::string Description() const override {
        return "read the board's settings (IPv4, IPv6, wireless LAN) by the keys settings set "
               "takes";
    }

private:
    int OnBoard(CommandContext& context, BoardAccess& board, CliOutput::Fields& fields) override;
};

// settings set KEY=VALUE...: through the Settings dialog's rules, the block as read saved
// first, read back after.
class SettingsSetCommand : public BoardCommand {
public:
    std::vector<std::string> Path() const override { return {"settings", "set"}; }
    std::string Description() const override;
    void Define(CLI::App& command) override;

private:
    std::optional<int> Prepare(CommandContext& context) override;
    int OnBoard(CommandContext& context, BoardAccess& board, CliOutput::Fields& fields) override;

    std::vector<std::string> m_given;
    SettingPairs m_pairs;
    bool m_reboot = false;
    bool m_dryRun = false;
};

// settings backup FILE: the board's settings block, saved as it is.
class SettingsBackupCommand : public BoardCommand {
public:
    std::vector<std::string> Path() const override { return {"settings", "backup"}; }
    std::string Description() const override {
        return "save the board's settings block in a new file (restore gives it back)";
    }
    void Define(CLI::App& command) override;

private:
    int OnBoard(CommandContext& context, BoardAccess& board, CliOutput::Fields& fields) override;

    std::string m_file;
};

// settings restore FILE: a block saved from this board, written back exactly.
class SettingsRestoreCommand : public BoardCommand {
public:
    std::vector<std::string> Path() const override { return {"settings", "restore"}; }
    std::string Description() const override {
        return "write back a block saved by settings backup (or before a write) to the board it "
               "was saved from";
    }
    void Define(CLI::App& command) override;

private:
    std::optional<int> Prepare(CommandContext& context) override;
    int OnBoard(CommandContext& context, BoardAccess& board, CliOutput::Fields& fields) override;

    std::string m_file;
    SettingsBackup m_backup;
    bool m_reboot = false;
    bool m_dryRun = false;
};

}  // namespace varnow::cli
