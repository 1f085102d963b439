#pragma once

#include "BoardAccess.h"
#include "Command.h"
#include "package/LoadedPackage.h"
#include "upload/UploadOutcome.h"

namespace varnow::cli {

// Writes the package into a connected board (its image, then its firmware when it has one):
// the command's end, reported. Shared by upload and station.
int WritePackageTo(CommandContext& context, BoardAccess& board, LoadedPackage& package,
                   UploadOptions options, CliOutput::Fields& fields);

// Upgrades only the firmware, from a firmware or combined package: the command's end, reported.
int WriteFirmwareTo(CommandContext& context, BoardAccess& board, LoadedPackage& package,
                    bool dryRun, CliOutput::Fields& fields);

}  // namespace varnow::cli
