#pragma once

#include "BoardCommand.h"

namespace varnow::cli {

// Connects exactly as the desktop tool does and reports who the board is.
class IdentifyCommand : public BoardCommand {
public:
    std::vector<std::string> Path() const override { return {"identify"}; }
    std::string Description() const override {
        return "connect to the board and print its port, ISP mode, FIB id, MCU id and login";
    }

private:
    bool TakesBootLoader() const override { return true; }
    int OnBoard(CommandContext& context, BoardAccess& board, CliOutput::Fields& fields) override;
};

}  // namespace varnow::cli
