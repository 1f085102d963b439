#pragma once

#include "Subcommand.h"

namespace varnow::cli {

// Lists the ports that lead to a board.
class PortsCommand : public Subcommand {
public:
    std::vector<std::string> Path() const override { return {"ports"}; }
    std::string Description() const override {
        return "list the board ports (the board's USB ports and simulated boards)";
    }
    int Execute(CommandContext& context) override;
};

}  // namespace varnow::cli
