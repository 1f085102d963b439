#include "BoardRun.h"

namespace varnow::cli {

int Finish(CommandContext& context, ExitStatus status, const std::string& outcome,
           const CliOutput::Fields& fields, const std::optional<OutcomeText>& error) {
    context.output.Result(status, outcome, fields);
    if (status != kExitSuccess) {
        const std::string text =
            error
                ? FillPlaceholders(context.strings.Text(error->stringId, context.options.language),
                                   error->args)
                : "the command failed (" + outcome + ")";
        context.output.Error(text);
    }
    return status;
}

ConnectResult ConnectBoard(BoardAccess& board) {
    const auto result = board.Await<ConnectResult>(
        [&board](auto done) { board.session().Connect(std::move(done)); });
    return result.value_or(ConnectResult{ConnectOutcome::BoardSilent, {}});
}

}  // namespace varnow::cli
