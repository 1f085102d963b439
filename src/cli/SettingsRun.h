#pragma once

#include <memory>
#include <optional>

#include "BoardAccess.h"
#include "BoardRun.h"
#include "Command.h"
#include "SettingsEditor.h"

namespace varnow::cli {

// A board, connected and identified, for a command that works on its settings; nullptr when
// that failed (the end of the command is then reported, with `status`).
std::unique_ptr<BoardAccess> ConnectedBoard(CommandContext& context, CliOutput::Fields& fields,
                                            int& status);

// The board's settings block, read and checked; nullopt when that failed (reported, `status`).
std::optional<EnvironmentData> ReadBoardSettings(CommandContext& context, BoardAccess& board,
                                                 const CliOutput::Fields& fields, int& status);

// Writes a block (the edited settings, or a restored one), reads it back and compares, and
// restarts the board when asked: the whole command's end, reported. `edited`: patch the
// store's values into `data`; otherwise `data.blockCopy` goes exactly as it is.
int WriteAndConfirm(CommandContext& context, BoardAccess& board, EnvironmentData data,
                    const Bytes& asRead, bool edited, bool reboot, CliOutput::Fields& fields);

struct SettingsWriteHow {
    bool dryRun = false;  // list what would change, write nothing
    bool reboot = false;  // restart the board afterwards and identify it again
};

// Applies KEY=VALUE pairs to a connected board's settings through the pages' rules, writes
// them (the block as read saved first) and reads them back: the command's end, reported.
// Shared by settings set and station.
int ApplySettings(CommandContext& context, BoardAccess& board, const SettingPairs& pairs,
                  SettingsWriteHow how, CliOutput::Fields& fields);

// Restarts the board and waits until it is identified again: nullopt when it was; otherwise
// the status, reported.
std::optional<int> RebootAndReconnect(CommandContext& context, BoardAccess& board,
                                      CliOutput::Fields& fields);

}  // namespace varnow::cli
