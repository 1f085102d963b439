#pragma once

#include "Command.h"

namespace varnow::cli {

// Connects exactly as the desktop tool does and reports who the board is.
class IdentifyCommand : public Subcommand {
public:
    std::vector<std::string> Path() const override { return {"identify"}; }
    std::string Description() const override {
        return "connect to the board and print its port, ISP mode, FIB id, MCU id and login";
    }
    int Execute(CommandContext& context) override;
};

}  // namespace varnow::cli
