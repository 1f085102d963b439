#pragma once

#include <optional>
#include <string>

#include "ExitStatus.h"
#include "Subcommand.h"
#include "app/OutcomeText.h"
#include "ops/Operation.h"
#include "ui/MessageIds.h"

namespace varnow::cli {

// Ends a command: its result, and for a failure one last "error:" line that says what failed,
// what the board may hold and what to do next, with the trace the operation saved. Returns the
// status.
int Finish(CommandContext& context, ExitStatus status, const std::string& outcome,
           CliOutput::Fields fields, const std::optional<OutcomeText>& error,
           const Operation* operation = nullptr);

// Ends a command that its user interrupted (the port is closed already); `textId` says what
// state the board may be in.
int FinishInterrupted(CommandContext& context, int textId, CliOutput::Fields fields);

// Why a package file cannot be read, in the system's words; nullopt when it can.
std::optional<std::string> PackageUnreadable(const std::filesystem::path& path);

inline QJsonValue Json(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace varnow::cli
