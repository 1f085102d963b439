#pragma once

#include "BoardCommand.h"

namespace varnow::cli {

// "Network information": the board's interfaces and tables, as it reports them now.
class NetInfoCommand : public BoardCommand {
public:
    std::vector<std::string> Path() const override { return {"netinfo"}; }
    std::string Description() const override {
        return "the board's network report: IPv4, IPv6, duplicate addresses, wireless LAN, the "
               "ARP and neighbour tables";
    }

private:
    int OnBoard(CommandContext& context, BoardAccess& board, CliOutput::Fields& fields) override;
};

}  // namespace varnow::cli
