#pragma once

#include <memory>
#include <optional>

#include "Report.h"
#include "Subcommand.h"
#include "ops/ConnectOperation.h"

namespace varnow::cli {

// A command that works on a board: what it needs is gathered and checked first, then the
// board is opened, connected and identified (logging in when it asks) the same way for every
// command, and only then does the command's own work begin.
class BoardCommand : public Subcommand {
public:
    int Execute(CommandContext& context) final;

protected:
    // Everything checked before the board is touched (files, values, secrets); a status ends
    // the command there.
    virtual std::optional<int> Prepare(CommandContext&) { return std::nullopt; }
    // A board in its boot loader is what the command wants (a firmware upgrade).
    virtual bool TakesBootLoader() const { return false; }
    // The command's work on the identified board: its end, reported.
    virtual int OnBoard(CommandContext& context, BoardAccess& board, CliOutput::Fields& fields) = 0;
};

// The board the options choose: --port, the only board port found, or the embedded board;
// nullptr when there is none or several, or the password's source gives none (the end of the
// command is then reported, with `status`).
std::unique_ptr<BoardAccess> OpenChosenBoard(CommandContext& context, int& status);

}  // namespace varnow::cli
