#pragma once

#include <string>
#include <vector>

#include "Command.h"

namespace varnow::cli {

// Prints the board's settings.
class SettingsShowCommand : public Subcommand {
public:
    std::vector<std::string> Path() const override { return {"settings", "show"}; }
    std::string Description() const override {
        return "print the board's network, IPv6 and wireless LAN settings (secrets only as set or "
               "not)";
    }
    int Execute(CommandContext& context) override;
};

// Changes settings by name, with the Settings dialog's rules; a backup of the block as read
// first, the block read back and compared after.
class SettingsSetCommand : public Subcommand {
public:
    std::vector<std::string> Path() const override { return {"settings", "set"}; }
    std::string Description() const override;
    void Define(CLI::App& command) override;
    int Execute(CommandContext& context) override;

private:
    std::vector<std::string> m_pairs;
    bool m_reboot = false;
    bool m_dryRun = false;
};

// Saves the board's settings block exactly as read, with the board's MCU id.
class SettingsBackupCommand : public Subcommand {
public:
    std::vector<std::string> Path() const override { return {"settings", "backup"}; }
    std::string Description() const override {
        return "save the board's settings block, exactly as read, to FILE";
    }
    void Define(CLI::App& command) override;
    int Execute(CommandContext& context) override;

private:
    std::string m_file;
};

// Sends a saved block back byte for byte, when it is sound and was saved from this board.
class SettingsRestoreCommand : public Subcommand {
public:
    std::vector<std::string> Path() const override { return {"settings", "restore"}; }
    std::string Description() const override {
        return "write a block saved with settings backup back into the board it came from";
    }
    void Define(CLI::App& command) override;
    int Execute(CommandContext& context) override;

private:
    std::string m_file;
    bool m_reboot = false;
    bool m_dryRun = false;
};

}  // namespace varnow::cli
