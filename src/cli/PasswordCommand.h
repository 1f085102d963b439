#pragma once

#include <optional>
#include <string>

#include "BoardCommand.h"
#include "CliOptions.h"
#include "common/Cleansed.h"

namespace varnow::cli {

// password set / password delete: the board's administrator password. The board restarts with
// it, is connected with the new one, and the tool makes sure which password it takes.
class PasswordCommand : public BoardCommand {
public:
    explicit PasswordCommand(bool deleting) : m_delete(deleting) {}
    std::vector<std::string> Path() const override {
        return {"password", m_delete ? "delete" : "set"};
    }
    std::string Description() const override {
        return m_delete ? "delete the board's administrator password (the board restarts)"
                        : "set the board's administrator password (the board restarts)";
    }
    void Define(CLI::App& command) override;

private:
    std::optional<int> Prepare(CommandContext& context) override;
    int OnBoard(CommandContext& context, BoardAccess& board, CliOutput::Fields& fields) override;

    bool m_delete;
    SecretSource m_source;
    std::optional<Cleansed<std::string>> m_newPassword;
};

}  // namespace varnow::cli
