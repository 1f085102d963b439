#include "Report.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace varnow::cli {

int Finish(CommandContext& context, ExitStatus status, const std::string& outcome,
           CliOutput::Fields fields, const std::optional<OutcomeText>& error,
           const Operation* operation) {
    std::string text;
    if (status != kExitSuccess) {
        text = error ? context.Text(error->stringId, error->args)
                     : "the command failed (" + outcome + ")";
        // What went over the line is kept for whoever looks into the failure.
        if (operation != nullptr && !operation->report().trace.empty()) {
            const std::string trace = operation->report().trace.string();
            fields.push_back({"trace", Json(trace)});
            text += " " + context.Text(kCliTraceSaved, {trace});
        }
    }
    context.output.Result(status, outcome, fields);
    if (status != kExitSuccess) {
        context.output.Error(text);
    }
    return status;
}

int FinishInterrupted(CommandContext& context, int textId, CliOutput::Fields fields) {
    return Finish(context, kExitInterrupted, "interrupted", std::move(fields),
                  OutcomeText{textId, {}});
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
