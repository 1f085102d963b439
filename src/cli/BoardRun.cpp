#include "BoardRun.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace varnow::cli {

int Finish(CommandContext& context, ExitStatus status, const std::string& outcome,
           const CliOutput::Fields& fields, const std::optional<OutcomeText>& error) {
    CliOutput::Fields reported = fields;
    std::string text;
    if (status != kExitSuccess) {
        text = error ? context.Text(error->stringId, error->args)
                     : "the command failed (" + outcome + ")";
        // What went over the line is kept for whoever looks into the failure.
        const auto trace =
            status != kExitUsage && context.board ? context.board->KeepTrace() : std::nullopt;
        if (trace) {
            reported.push_back({"trace", QString::fromStdString(trace->string())});
            text += " " + context.Text(kCliTraceSaved, {trace->string()});
        }
    }
    context.output.Result(status, outcome, reported);
    if (status != kExitSuccess) {
        context.output.Error(text);
    }
    return status;
}

int FinishInterrupted(CommandContext& context, BoardAccess& board, int textId,
                      const CliOutput::Fields& fields) {
    board.session().Abort();  // closed already by the interruption; again does no harm
    return Finish(context, kExitInterrupted, "interrupted", fields, OutcomeText{textId, {}});
}

std::unique_ptr<BoardAccess> OpenChosenBoard(CommandContext& context, int& status) {
    std::string port = context.options.port;
    if (port.empty()) {
        const auto ports = context.listPorts();
        if (ports.size() != 1) {
            for (const auto& found : ports) {
                context.output.Note("  " + found.name);
            }
            const int text = ports.empty() ? kCliNoBoardPort : kCliSeveralBoardPorts;
            status = Finish(context, kExitNoPort, "no-port", {}, OutcomeText{text, {}});
            return nullptr;
        }
        port = ports.front().name;
    }
    std::unique_ptr<BoardAccess> board = context.openBoard(port);
    context.board = board.get();
    return board;
}

std::optional<ConnectResult> ConnectBoard(BoardAccess& board) {
    return board.Await<ConnectResult>(
        [&board](auto done) { board.session().Connect(std::move(done)); });
}

std::optional<std::string> PackageUnreadable(const std::filesystem::path& path) {
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) {
        return std::strerror(EISDIR);
    }
    std::FILE* file = std::fopen(path.string().c_str(), "rb");
    if (file == nullptr) {
        return std::strerror(errno);
    }
    std::fclose(file);
    return std::nullopt;
}

}  // namespace varnow::cli
