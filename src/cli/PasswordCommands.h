#pragma once

#include <optional>
#include <string>
#include <vector>

#include "Command.h"

namespace varnow::cli {

// Sets or deletes the board's administrator password. The board restarts; the command waits
// for it, connects again and logs in with the new password (or checks that it asks for none)
// before it reports success. The password never goes to the line: only its derived record.
class PasswordCommand : public Subcommand {
public:
    explicit PasswordCommand(bool remove) : m_delete(remove) {}
    std::vector<std::string> Path() const override {
        return {"password", m_delete ? "delete" : "set"};
    }
    std::string Description() const override {
        return m_delete ? "delete the board's administrator password"
                        : "set the board's administrator password (8 to 32 characters, from "
                          "--new-password, $VARNOW_NEW_PASSWORD, or asked twice)";
    }
    void Define(CLI::App& command) override;
    int Execute(CommandContext& context) override;

private:
    // The new password, checked; nullopt when refused (reported, `status`).
    std::optional<std::string> NewPassword(CommandContext& context, int& status);

    bool m_delete;
    std::optional<std::string> m_newPassword;
};

// Restarts the board and waits until it is identified again.
class RebootCommand : public Subcommand {
public:
    std::vector<std::string> Path() const override { return {"reboot"}; }
    std::string Description() const override {
        return "restart the board (to apply its settings) and connect to it again";
    }
    int Execute(CommandContext& context) override;
};

}  // namespace varnow::cli
