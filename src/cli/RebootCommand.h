#pragma once

#include "BoardCommand.h"

namespace varnow::cli {

// Restarts the board and connects to it again once it is back.
class RebootCommand : public BoardCommand {
public:
    std::vector<std::string> Path() const override { return {"reboot"}; }
    std::string Description() const override {
        return "restart the board (its settings take effect) and connect to it again";
    }

private:
    int OnBoard(CommandContext& context, BoardAccess& board, CliOutput::Fields& fields) override;
};

}  // namespace varnow::cli
