#pragma once

#include <optional>
#include <string>

#include "BoardAccess.h"
#include "Command.h"
#include "ExitStatus.h"
#include "app/OutcomeText.h"
#include "ui/MessageIds.h"

namespace varnow::cli {

// Ends a command: its result, and for a failure one last "error:" line that says what failed
// and what to do next. Returns the status.
int Finish(CommandContext& context, ExitStatus status, const std::string& outcome,
           const CliOutput::Fields& fields, const std::optional<OutcomeText>& error);

// Connects to the board and waits for the outcome.
ConnectResult ConnectBoard(BoardAccess& board);

}  // namespace varnow::cli
