#pragma once

#include <string>
#include <vector>

#include "Command.h"

namespace varnow::cli {

// What the board tells about itself: product and image names, uptime, MAC, firmware.
class InfoCommand : public Subcommand {
public:
    std::vector<std::string> Path() const override { return {"info"}; }
    std::string Description() const override {
        return "show the board's product and firmware information (product and image names, "
               "uptime, MAC, firmware name, version and size)";
    }
    int Execute(CommandContext& context) override;
};

// The board's network report: its wired and wireless interfaces and its ARP and neighbour
// tables.
class NetInfoCommand : public Subcommand {
public:
    std::vector<std::string> Path() const override { return {"netinfo"}; }
    std::string Description() const override {
        return "show the board's network information (IPv4, IPv6, address conflicts, wireless "
               "LAN, ARP and neighbour tables)";
    }
    int Execute(CommandContext& context) override;
};

}  // namespace varnow::cli
