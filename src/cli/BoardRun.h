#pragma once

#include <filesystem>
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

// Ends a command that its user interrupted: the port is closed first; `textId` says what
// state the board may be in.
int FinishInterrupted(CommandContext& context, BoardAccess& board, int textId,
                      const CliOutput::Fields& fields);

// The board the options choose: --port, the only board port found, or the embedded board.
// Nullptr when there is none or several (the end of the command is then reported, with
// `status`).
std::unique_ptr<BoardAccess> OpenChosenBoard(CommandContext& context, int& status);

// Connects to the board and waits for the outcome; nullopt when interrupted.
std::optional<ConnectResult> ConnectBoard(BoardAccess& board);

// Why a package file cannot be read, in the system's words; nullopt when it can.
std::optional<std::string> PackageUnreadable(const std::filesystem::path& path);

}  // namespace varnow::cli
