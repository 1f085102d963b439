#include "SettingsCommand.h"

#include <CLI/CLI.hpp>
#include <QJsonArray>
#include <chrono>

#include "ResultFields.h"
#include "app/OutcomeNames.h"
#include "files/RegularFile.h"
#include "settings/EnvironmentBlock.h"

namespace varnow::cli {
namespace {

// A change as people read it: the key, and its values unless it is a secret.
std::string ChangeLine(const SettingChange& change) {
    if (!change.from || !change.to) {
        return change.key + " (changed)";
    }
    return change.key + ": " + ForPeople(SettingJson(*change.from)) + " -> " +
           ForPeople(SettingJson(*change.to));
}

}  // namespace

void ReportSettingsWrite(CommandContext& context, const SettingsResult& result,
                         CliOutput::Fields& fields) {
    if (result.ipv6SwitchedOff && !result.changes.empty()) {
        context.output.Note(context.Text(kCliIpv6SwitchedOff));
    }
    QJsonArray changed;
    for (const SettingChange& change : result.changes) {
        changed.append(Json(change.key));
        CliOutput::Fields row{{"key", Json(change.key)}};
        if (change.from && change.to) {
            row.push_back({"from", SettingJson(*change.from)});
            row.push_back({"to", SettingJson(*change.to)});
        } else {
            row.push_back({"secret", true});
        }
        context.output.Row("change", row, ChangeLine(change));
    }
    fields.push_back({"changed", changed});
    if (!result.backup.empty() && result.backupProblem.empty()) {
        fields.push_back({"backup", Json(result.backup.string())});
        context.output.Note(context.Text(kCliBackupSaved, {result.backup.string()}));
    }
    switch (result.outcome.code) {
        case SettingsOutcome::Unchanged:
            context.output.Note(context.Text(kCliNothingToChange));
            break;
        case SettingsOutcome::DryRun:
            context.output.Note(context.Text(kCliDryRun));
            break;
        default:
            break;
    }
    if (result.held != SettingsHeld::Old || !result.sent.empty()) {
        fields.push_back({"holds", HeldName(result.held)});
    }
    if (result.outcome.code == SettingsOutcome::Written) {
        fields.push_back({"verified", true});
        if (result.restart) {
            fields.push_back({"rebooted", true});
        }
    }
}

int SettingsShowCommand::OnBoard(CommandContext& context, BoardAccess& board,
                                 CliOutput::Fields& fields) {
    const auto read = board.Run<ReadSettingsOperation>();
    if (board.interrupted()) {
        return FinishInterrupted(context, kCliInterrupted, fields);
    }
    const SettingsReadResult& result = read->result();
    if (!read->succeeded()) {
        return Finish(context, StatusOf(result.outcome), OutcomeName(result.outcome.code), fields,
                      DescribeSettingsRead(result.outcome), read.get());
    }
    const CliOutput::Fields settings = SettingFields(SettingsEditor::Show(result.data));
    fields.insert(fields.end(), settings.begin(), settings.end());
    return Finish(context, kExitSuccess, "read", fields, std::nullopt);
}

std::string SettingsSetCommand::Description() const {
    return "change settings: KEY=VALUE with the keys of settings show (ipv4.mode=static|dhcp, "
           "ipv4.address, ipv4.netmask, ipv4.gateway, ipv4.dns, ipv4.dns_auto=on|off, "
           "wlan.enabled=on|off, wlan.topology=adhoc|infrastructure|softap, "
           "wlan.channel=auto|1..13, wlan.ssid, wlan.key, wlan.8021x=off|eap-tls|eap-ttls|peap, "
           "wlan.identity, wlan.password, wlan.phy=none|802.11|802.11b|802.11b/g, "
           "wlan.short_preamble, wlan.short_slot, wlan.cts_protection)";
}

void SettingsSetCommand::Define(CLI::App& command) {
    command.add_option("settings", m_given, "KEY=VALUE pairs")->required();
    command.add_flag("--reboot", m_reboot, "restart the board to apply them, and connect again");
    command.add_flag("--dry-run", m_dryRun,
                     "check the values and list what would change; write nothing");
}

std::optional<int> SettingsSetCommand::Prepare(CommandContext& context) {
    m_pairs.clear();
    for (const std::string& pair : m_given) {
        const auto equals = pair.find('=');
        m_pairs.emplace_back(pair.substr(0, equals),
                             equals == std::string::npos ? std::string() : pair.substr(equals + 1));
    }
    // A key or value the rules refuse is refused before the board is touched.
    if (const auto refused = SettingsEditor::CheckPairs(m_pairs)) {
        return Finish(context, kExitSettingsRefused, "refused", {},
                      OutcomeText{refused->stringId, refused->args});
    }
    return std::nullopt;
}

int SettingsSetCommand::OnBoard(CommandContext& context, BoardAccess& board,
                                CliOutput::Fields& fields) {
    SettingsChange change;
    change.pairs = m_pairs;
    change.reboot = m_reboot;
    change.dryRun = m_dryRun;
    const auto apply = board.Run<ApplySettingsOperation>(std::move(change));
    if (board.interrupted()) {
        return FinishInterrupted(context, kCliInterrupted, fields);
    }
    const SettingsResult& result = apply->result();
    ReportSettingsWrite(context, result, fields);
    return Finish(context, StatusOf(result), OutcomeName(result.outcome.code), fields,
                  DescribeSettings(result), apply.get());
}

void SettingsBackupCommand::Define(CLI::App& command) {
    command.add_option("file", m_file, "the new file to save it in")->required();
}

int SettingsBackupCommand::OnBoard(CommandContext& context, BoardAccess& board,
                                   CliOutput::Fields& fields) {
    const auto read = board.Run<ReadSettingsOperation>();
    if (board.interrupted()) {
        return FinishInterrupted(context, kCliInterrupted, fields);
    }
    const SettingsReadResult& result = read->result();
    if (!read->succeeded()) {
        return Finish(context, StatusOf(result.outcome), OutcomeName(result.outcome.code), fields,
                      DescribeSettingsRead(result.outcome), read.get());
    }
    const SessionRecord& session = board.session().session();
    const SettingsBackup backup{session.mcuId, board.portName(),
                                Iso8601(std::chrono::system_clock::now(), true),
                                result.data.blockCopy};
    const FileWritten saved = board.platform().Files().WriteNewAt(m_file, backup.Serialize());
    if (!saved.ok()) {
        return Finish(context, kExitFailure, "not-saved", fields,
                      OutcomeText{kCliFileUnwritable, {m_file, saved.problem}});
    }
    fields.push_back({"file", Json(m_file)});
    fields.push_back({"mcu_id", Json(session.mcuId)});
    fields.push_back({"block_bytes", static_cast<double>(result.data.blockCopy.size())});
    return Finish(context, kExitSuccess, "saved", fields, std::nullopt);
}

void SettingsRestoreCommand::Define(CLI::App& command) {
    command.add_option("file", m_file, "a file saved by settings backup")->required();
    command.add_flag("--reboot", m_reboot, "restart the board to apply them, and connect again");
    command.add_flag("--dry-run", m_dryRun, "check the backup against the board; write nothing");
}

std::optional<int> SettingsRestoreCommand::Prepare(CommandContext& context) {
    const CliOutput::Fields fields{{"file", Json(m_file)}};
    // Only a regular file, and no larger than a backup can be: the file is read before the
    // board is touched, and never written.
    const UserFile file = ReadRegularFile(m_file, SettingsBackup::kLargestFile);
    std::string problem = file.problem;
    std::optional<SettingsBackup> backup;
    if (file.ok()) {
        backup = SettingsBackup::Parse(file.bytes, problem);
    }
    EnvironmentData saved;
    if (backup && !DecodeEnvironmentBytes(backup->block, saved)) {
        problem = "its block fails its checks";
    }
    if (!backup || !problem.empty()) {
        return Finish(context, kExitPackageRefused, "refused", fields,
                      OutcomeText{kCliBackupUnusable, {m_file, problem}});
    }
    m_backup = std::move(*backup);
    return std::nullopt;
}

int SettingsRestoreCommand::OnBoard(CommandContext& context, BoardAccess& board,
                                    CliOutput::Fields& fields) {
    fields.push_back({"file", Json(m_file)});
    SettingsChange change;
    change.kind = SettingsChange::Kind::Restore;
    change.backup = m_backup;
    change.reboot = m_reboot;
    change.dryRun = m_dryRun;
    const auto apply = board.Run<ApplySettingsOperation>(std::move(change));
    if (board.interrupted()) {
        return FinishInterrupted(context, kCliInterrupted, fields);
    }
    const SettingsResult& result = apply->result();
    if (result.outcome.code == SettingsOutcome::OtherBoard) {
        return Finish(context, kExitPackageRefused, "other-board", fields,
                      OutcomeText{kCliBackupOfOtherBoard, {m_file, m_backup.mcuId}});
    }
    if (result.outcome.code == SettingsOutcome::DryRun ||
        result.outcome.code == SettingsOutcome::Unchanged) {
        fields.push_back({"unchanged", result.outcome.code == SettingsOutcome::Unchanged});
    }
    ReportSettingsWrite(context, result, fields);
    return Finish(context, StatusOf(result), OutcomeName(result.outcome.code), fields,
                  DescribeSettings(result, m_file), apply.get());
}

}  // namespace varnow::cli
