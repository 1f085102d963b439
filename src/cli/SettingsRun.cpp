#include "SettingsRun.h"

#include <QJsonArray>

#include "SettingsEditor.h"
#include "settings/EnvironmentBlock.h"

namespace varnow::cli {
namespace {

QJsonValue Text(const std::string& text) {
    return QString::fromStdString(text);
}

ExitStatus StatusOfWrite(SettingsWriteOutcome outcome) {
    switch (outcome) {
        case SettingsWriteOutcome::Written:
            return kExitSuccess;
        case SettingsWriteOutcome::IspMode:
            return kExitIspMode;
        case SettingsWriteOutcome::NoBoard:
        case SettingsWriteOutcome::PortLost:
            return kExitBoardLost;
        case SettingsWriteOutcome::BackupFailed:
        case SettingsWriteOutcome::Unencodable:
            return kExitFailure;
        case SettingsWriteOutcome::NotSent:
        case SettingsWriteOutcome::Refused:
            return kExitSettingsRefused;
        case SettingsWriteOutcome::Stalled:
            return kExitSendFailed;
        case SettingsWriteOutcome::TimedOut:
            return kExitTimedOut;
    }
    return kExitFailure;
}

OutcomeText WriteFailure(const SettingsWriteResult& result) {
    switch (result.outcome.code) {
        case SettingsWriteOutcome::BackupFailed:
            return {kCliBackupFailed, {result.outcome.reason}};
        case SettingsWriteOutcome::TimedOut:
            return {kErrNoAnswer, {result.outcome.command}};
        case SettingsWriteOutcome::IspMode:
            return {kErrInBootLoader, {}};
        case SettingsWriteOutcome::NoBoard:
        case SettingsWriteOutcome::PortLost:
            return {kErrPortVanished, {}};
        default:
            return {kCliBoardRefusedSettings, {}};
    }
}

// What the edit changes, for the user to see before it is written.
QJsonArray Changes(CommandContext& context, const EnvironmentData& before,
                   const EnvironmentData& after) {
    const CliOutput::Fields old = SettingsEditor::Show(before);
    const CliOutput::Fields now = SettingsEditor::Show(after);
    QJsonArray changed;
    for (std::size_t i = 0; i < old.size() && i < now.size(); ++i) {
        if (old[i].second != now[i].second) {
            const std::string& key = old[i].first;
            changed.append(Text(key));
            context.output.Row(
                "change", {{"key", Text(key)}, {"from", old[i].second}, {"to", now[i].second}},
                key + ": " + ForPeople(old[i].second) + " -> " + ForPeople(now[i].second));
        }
    }
    return changed;
}

}  // namespace

std::unique_ptr<BoardAccess> ConnectedBoard(CommandContext& context, CliOutput::Fields& fields,
                                            int& status) {
    std::unique_ptr<BoardAccess> board = OpenChosenBoard(context, status);
    if (!board) {
        return nullptr;
    }
    fields.push_back({"port", Text(board->portName())});
    const std::optional<ConnectResult> connected = ConnectBoard(*board);
    if (!connected) {
        status = FinishInterrupted(context, *board, kCliInterrupted, fields);
        return nullptr;
    }
    if (connected->code != ConnectOutcome::Identified) {
        status = Finish(context, StatusOfConnect(connected->code), OutcomeName(connected->code),
                        fields, DescribeConnect(*connected, board->portName()));
        return nullptr;
    }
    return board;
}

std::optional<EnvironmentData> ReadBoardSettings(CommandContext& context, BoardAccess& board,
                                                 const CliOutput::Fields& fields, int& status) {
    std::optional<EnvironmentData> data;
    std::optional<Outcome<SettingsReadOutcome>> outcome;
    const auto read = board.Await<bool>([&](auto done) {
        board.session().ReadSettings([&, done](const auto& ended, EnvironmentData block) {
            outcome = ended;
            data = std::move(block);
            done(true);
        });
    });
    if (!read) {
        status = FinishInterrupted(context, board, kCliInterrupted, fields);
        return std::nullopt;
    }
    switch (outcome->code) {
        case SettingsReadOutcome::Read:
            return data;
        case SettingsReadOutcome::IspMode:
            status =
                Finish(context, kExitIspMode, "isp-mode", fields, OutcomeText{kErrInBootLoader});
            return std::nullopt;
        case SettingsReadOutcome::TimedOut:
            status = Finish(context, kExitBoardSilent, "timed-out", fields,
                            OutcomeText{kErrNoAnswer, {outcome->command}});
            return std::nullopt;
        case SettingsReadOutcome::Undecodable:
            status = Finish(context, kExitFailure, "undecodable", fields,
                            OutcomeText{kMsgGetConfigurationFailed});
            return std::nullopt;
        case SettingsReadOutcome::NoBoard:
        case SettingsReadOutcome::PortLost:
            break;
    }
    status = Finish(context, kExitBoardLost, "board-lost", fields, OutcomeText{kErrPortVanished});
    return std::nullopt;
}

std::optional<int> RebootAndReconnect(CommandContext& context, BoardAccess& board,
                                      CliOutput::Fields& fields) {
    const auto returned = board.Await<std::optional<ConnectResult>>(
        [&](auto done) { board.session().RebootBoard(std::move(done)); });
    if (!returned) {
        return FinishInterrupted(context, board, kCliInterrupted, fields);
    }
    if (!*returned) {
        return Finish(context, kExitBoardLost, "not-back", fields,
                      OutcomeText{kErrNotBackAfterRestart});
    }
    const ConnectResult& connect = **returned;
    if (connect.code != ConnectOutcome::Identified) {
        return Finish(context, StatusOfConnect(connect.code), OutcomeName(connect.code), fields,
                      DescribeConnect(connect, board.portName()));
    }
    fields.push_back({"rebooted", true});
    return std::nullopt;
}

int WriteAndConfirm(CommandContext& context, BoardAccess& board, EnvironmentData data,
                    const Bytes& asRead, bool edited, bool reboot, CliOutput::Fields& fields) {
    BoardSession& session = board.session();
    const auto written = board.Await<SettingsWriteResult>([&](auto done) {
        if (edited) {
            session.WriteSettings(std::move(data), std::move(done));
        } else {
            session.WriteBlock(data.blockCopy, asRead, std::move(done));
        }
    });
    if (!written) {
        return FinishInterrupted(context, board, kCliInterrupted, fields);
    }
    if (!written->backup.empty()) {
        fields.push_back({"backup", Text(written->backup.string())});
        context.output.Note(context.Text(kCliBackupSaved, {written->backup.string()}));
    }
    if (written->outcome.code != SettingsWriteOutcome::Written) {
        return Finish(context, StatusOfWrite(written->outcome.code), "not-written", fields,
                      WriteFailure(*written));
    }
    // Written only when the board gives back what it was given.
    int status = kExitSuccess;
    const std::optional<EnvironmentData> readBack =
        ReadBoardSettings(context, board, fields, status);
    if (!readBack) {
        return status;
    }
    if (readBack->blockCopy != written->sent) {
        return Finish(context, kExitReadBackDiffers, "read-back-differs", fields,
                      OutcomeText{kCliReadBackDiffers, {written->backup.string()}});
    }
    fields.push_back({"verified", true});
    if (reboot) {
        if (const auto failed = RebootAndReconnect(context, board, fields)) {
            return *failed;
        }
    }
    return Finish(context, kExitSuccess, "written", fields, std::nullopt);
}

int ApplySettings(CommandContext& context, BoardAccess& board, const SettingPairs& pairs,
                  SettingsWriteHow how, CliOutput::Fields& fields) {
    int status = kExitSuccess;
    const std::optional<EnvironmentData> read = ReadBoardSettings(context, board, fields, status);
    if (!read) {
        return status;
    }
    SettingsEditor editor(*read);
    if (auto refused = editor.Apply(pairs)) {
        return Finish(context, kExitSettingsRefused, "refused", fields, refused);
    }
    if (const int message = editor.Collect(); message != 0) {
        // The page's message is the reason on the one error line.
        const std::string text = context.Text(message);
        return Finish(context, kExitSettingsRefused, "refused", fields,
                      OutcomeText{kCliSettingsRefused, {text}});
    }
    if ((read->store.networkFlags & kFlagIpv6Enabled) != 0) {
        context.output.Note(context.Text(kCliIpv6SwitchedOff));
    }
    const QJsonArray changed = Changes(context, *read, editor.data());
    fields.push_back({"changed", changed});
    EnvironmentData edited = editor.data();
    if (PatchEnvironmentBlock(edited) == read->blockCopy) {
        context.output.Note(context.Text(kCliNothingToChange));
        return Finish(context, kExitSuccess, "unchanged", fields, std::nullopt);
    }
    if (how.dryRun) {
        context.output.Note(context.Text(kCliDryRun));
        return Finish(context, kExitSuccess, "dry-run", fields, std::nullopt);
    }
    return WriteAndConfirm(context, board, editor.data(), read->blockCopy, true, how.reboot,
                           fields);
}

}  // namespace varnow::cli
