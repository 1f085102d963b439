#include "SettingsCommands.h"

#include <CLI/CLI.hpp>
#include <QJsonArray>
#include <chrono>

#include "SettingsEditor.h"
#include "SettingsRun.h"
#include "settings/EnvironmentBlock.h"
#include "settings/SettingsBackup.h"

namespace varnow::cli {
namespace {

QJsonValue Text(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

int SettingsShowCommand::Execute(CommandContext& context) {
    CliOutput::Fields fields;
    int status = kExitSuccess;
    const std::unique_ptr<BoardAccess> board = ConnectedBoard(context, fields, status);
    if (!board) {
        return status;
    }
    const std::optional<EnvironmentData> data = ReadBoardSettings(context, *board, fields, status);
    if (!data) {
        return status;
    }
    const CliOutput::Fields settings = SettingsEditor::Show(*data);
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
    command.add_option("settings", m_pairs, "KEY=VALUE pairs")->required();
    command.add_flag("--reboot", m_reboot, "restart the board to apply them, and connect again");
    command.add_flag("--dry-run", m_dryRun,
                     "check the values and list what would change; write nothing");
}

int SettingsSetCommand::Execute(CommandContext& context) {
    SettingPairs pairs;
    for (const std::string& pair : m_pairs) {
        const auto equals = pair.find('=');
        const std::string key = pair.substr(0, equals);
        const std::string value =
            equals == std::string::npos ? std::string() : pair.substr(equals + 1);
        if (auto wrong = SettingsEditor::CheckSyntax(key, value)) {
            return Finish(context, kExitUsage, "refused", {}, wrong);
        }
        pairs.emplace_back(key, value);
    }
    CliOutput::Fields fields;
    int status = kExitSuccess;
    const std::unique_ptr<BoardAccess> board = ConnectedBoard(context, fields, status);
    if (!board) {
        return status;
    }
    return ApplySettings(context, *board, pairs, {m_dryRun, m_reboot}, fields);
}

void SettingsBackupCommand::Define(CLI::App& command) {
    command.add_option("file", m_file, "where to save it")->required();
}

int SettingsBackupCommand::Execute(CommandContext& context) {
    CliOutput::Fields fields;
    int status = kExitSuccess;
    const std::unique_ptr<BoardAccess> board = ConnectedBoard(context, fields, status);
    if (!board) {
        return status;
    }
    const std::optional<EnvironmentData> data = ReadBoardSettings(context, *board, fields, status);
    if (!data) {
        return status;
    }
    const SessionRecord& session = board->session().session();
    const SettingsBackup backup{session.mcuId, board->portName(),
                                Iso8601(std::chrono::system_clock::now()), data->blockCopy};
    std::string problem;
    if (!backup.Write(m_file, problem)) {
        return Finish(context, kExitFailure, "not-saved", fields,
                      OutcomeText{kCliFileUnwritable, {m_file, problem}});
    }
    fields.push_back({"file", Text(m_file)});
    fields.push_back({"mcu_id", Text(session.mcuId)});
    fields.push_back({"block_bytes", static_cast<double>(data->blockCopy.size())});
    return Finish(context, kExitSuccess, "saved", fields, std::nullopt);
}

void SettingsRestoreCommand::Define(CLI::App& command) {
    command.add_option("file", m_file, "a file saved by settings backup")->required();
    command.add_flag("--reboot", m_reboot, "restart the board to apply them, and connect again");
    command.add_flag("--dry-run", m_dryRun, "check the backup against the board; write nothing");
}

int SettingsRestoreCommand::Execute(CommandContext& context) {
    CliOutput::Fields fields{{"file", Text(m_file)}};
    std::string problem;
    const std::optional<SettingsBackup> backup = SettingsBackup::Read(m_file, problem);
    EnvironmentData saved;
    if (backup && !DecodeEnvironmentBytes(backup->block, saved)) {
        problem = "its block fails its checks";
    }
    if (!backup || !problem.empty()) {
        return Finish(context, kExitPackageRefused, "refused", fields,
                      OutcomeText{kCliBackupUnusable, {m_file, problem}});
    }
    int status = kExitSuccess;
    const std::unique_ptr<BoardAccess> board = ConnectedBoard(context, fields, status);
    if (!board) {
        return status;
    }
    if (backup->mcuId != board->session().session().mcuId) {
        return Finish(context, kExitPackageRefused, "other-board", fields,
                      OutcomeText{kCliBackupOfOtherBoard, {m_file, backup->mcuId}});
    }
    const std::optional<EnvironmentData> now = ReadBoardSettings(context, *board, fields, status);
    if (!now) {
        return status;
    }
    if (m_dryRun) {
        fields.push_back({"unchanged", now->blockCopy == saved.blockCopy});
        context.output.Note(context.Text(kCliDryRun));
        return Finish(context, kExitSuccess, "dry-run", fields, std::nullopt);
    }
    return WriteAndConfirm(context, *board, saved, now->blockCopy, false, m_reboot, fields);
}

}  // namespace varnow::cli
