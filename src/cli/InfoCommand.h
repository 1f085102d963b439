#pragma once

#include "BoardCommand.h"

namespace varnow::cli {

// "Product/Firmware information": what the board tells about itself.
class InfoCommand : public BoardCommand {
public:
    std::vector<std::string> Path() const override { return {"info"}; }
    std::string Description() const override {
        return "what the board tells about itself: product and image names, uptime, MAC, "
               "firmware name, version and size";
    }

private:
    int OnBoard(CommandContext& context, BoardAccess& board, CliOutput::Fields& fields) override;
};

}  // namespace varnow::cli
