#include "ops/SettingsOperations.h"

#include <chrono>
#include <utility>

#include "link/CommandStates.h"
#include "settings/EnvironmentBlock.h"
#include "ui/MessageIds.h"

namespace varnow {

void ReadSettingsOperation::Begin() {
    m_read.Start([this](const Outcome<SettingsReadOutcome>& outcome, EnvironmentData data) {
        m_result = SettingsReadResult{outcome, std::move(data)};
        End();
    });
}

ApplySettingsOperation::ApplySettingsOperation(BoardContext& board, SettingsChange change)
    : Operation(board),
      m_change(std::move(change)),
      m_read(board.link(), messenger()),
      m_write(board.link(), messenger()),
      m_restart(board) {}

bool ApplySettingsOperation::succeeded() const {
    switch (m_result.outcome.code) {
        case SettingsOutcome::Written:
        case SettingsOutcome::Unchanged:
        case SettingsOutcome::DryRun:
            return true;
        default:
            return false;
    }
}

void ApplySettingsOperation::Begin() {
    m_read.Start([this](const Outcome<SettingsReadOutcome>& read, EnvironmentData data) {
        OnRead(read, std::move(data));
    });
}

void ApplySettingsOperation::OnRead(const Outcome<SettingsReadOutcome>& read,
                                    EnvironmentData data) {
    switch (read.code) {
        case SettingsReadOutcome::Read:
            break;
        case SettingsReadOutcome::IspMode:
            return Finish(SettingsOutcome::IspMode);
        case SettingsReadOutcome::NoBoard:
            return Finish(SettingsOutcome::NoBoard);
        case SettingsReadOutcome::PortLost:
            return Finish(SettingsOutcome::BoardLost);
        case SettingsReadOutcome::TimedOut:
        case SettingsReadOutcome::Undecodable:
            return Finish(SettingsOutcome::NotRead, read.command);
    }
    m_result.before = std::move(data);
    m_result.ipv6SwitchedOff = (m_result.before.store.networkFlags & kFlagIpv6Enabled) != 0;
    std::optional<Bytes> block = Target();
    if (!block) {
        return;
    }
    m_result.changes = SettingsEditor::Changes(m_result.before, m_result.after);
    if (*block == m_result.before.blockCopy) {
        return Finish(SettingsOutcome::Unchanged);
    }
    m_result.sent = std::move(*block);
    if (m_change.dryRun) {
        return Finish(SettingsOutcome::DryRun);
    }
    Write();
}

std::optional<Bytes> ApplySettingsOperation::Target() {
    const EnvironmentData& before = m_result.before;
    switch (m_change.kind) {
        case SettingsChange::Kind::Pairs: {
            SettingsEditor editor(before);
            std::optional<SettingRefusal> refused = editor.Apply(m_change.pairs);
            if (!refused) {
                refused = editor.Collect();
            }
            if (refused) {
                m_result.refusal = *refused;
                Finish(SettingsOutcome::Refused);
                return std::nullopt;
            }
            m_result.after = editor.data();
            break;
        }
        case SettingsChange::Kind::Edited:
            // The dialog's pages were filled from the block it read: patching them into
            // another block would write values nobody saw.
            if (m_change.edited.blockCopy != before.blockCopy) {
                messenger().Show(kMsgSettingsChangedMeanwhile, MessageStyle::Warning);
                Finish(SettingsOutcome::ChangedMeanwhile);
                return std::nullopt;
            }
            m_result.after = m_change.edited;
            break;
        case SettingsChange::Kind::Restore: {
            if (m_change.backup.mcuId != link().session().mcuId) {
                Finish(SettingsOutcome::OtherBoard);
                return std::nullopt;
            }
            if (!DecodeEnvironmentBytes(m_change.backup.block, m_result.after)) {
                Finish(SettingsOutcome::BadBackup);
                return std::nullopt;
            }
            return m_change.backup.block;
        }
    }
    std::optional<Bytes> block = PatchEnvironmentBlock(m_result.after);
    if (!block) {
        messenger().Show(kMsgChangeValuesFailed, MessageStyle::Warning);
        m_result.refusal = SettingRefusal{kMsgChangeValuesFailed, {}};
        Finish(SettingsOutcome::Refused);
    }
    return block;
}

void ApplySettingsOperation::Write() {
    const SessionRecord& session = link().session();
    const auto now = std::chrono::system_clock::now();
    const SettingsBackup backup{session.mcuId, session.portName, Iso8601(now, true),
                                m_result.before.blockCopy};
    const FileWritten saved = link().platform().Files().WriteNew(
        board().dataFolder() / "backups", SettingsBackup::FileStem(session.mcuId, now),
        SettingsBackup::kExtension, backup.Serialize());
    m_result.backup = saved.path;
    if (!saved.ok()) {
        m_result.backupProblem = saved.problem;
        return Finish(SettingsOutcome::BackupFailed);
    }
    const std::optional<std::string> text = EnvironmentText(m_result.sent);
    if (!text) {
        messenger().Show(kMsgChangeValuesFailed, MessageStyle::Warning);
        m_result.refusal = SettingRefusal{kMsgChangeValuesFailed, {}};
        return Finish(SettingsOutcome::Refused);
    }
    m_write.Start(*text,
                  [this](const Outcome<SettingsWriteOutcome>& written) { OnWritten(written); });
}

void ApplySettingsOperation::OnWritten(const Outcome<SettingsWriteOutcome>& written) {
    m_written = written;
    if (!m_write.textSent()) {
        if (written.code == SettingsWriteOutcome::PortLost) {
            return Finish(SettingsOutcome::BoardLost);
        }
        messenger().Show(kMsgSettingFailed, MessageStyle::Warning);
        return Finish(SettingsOutcome::NotSent, written.command);
    }
    if (!link().portOpen()) {
        m_result.held = SettingsHeld::Unknown;
        return Finish(SettingsOutcome::BoardLost);
    }
    // Whatever the board answered, what it holds now is what counts.
    m_read.Start([this](const Outcome<SettingsReadOutcome>& read, EnvironmentData data) {
        OnReadBack(read, data);
    });
}

void ApplySettingsOperation::OnReadBack(const Outcome<SettingsReadOutcome>& read,
                                        const EnvironmentData& data) {
    if (read.code != SettingsReadOutcome::Read) {
        m_result.held = SettingsHeld::Unknown;
        return Finish(read.code == SettingsReadOutcome::PortLost ? SettingsOutcome::BoardLost
                                                                 : SettingsOutcome::Unconfirmed,
                      read.command);
    }
    if (data.blockCopy == m_result.sent) {
        m_result.held = SettingsHeld::New;
        if (m_change.reboot) {
            return Restart();
        }
        return Finish(SettingsOutcome::Written);
    }
    if (data.blockCopy == m_result.before.blockCopy) {
        m_result.held = SettingsHeld::Old;
        messenger().Show(kMsgSettingFailed, MessageStyle::Warning);
        return Finish(SettingsOutcome::NotTaken, m_written.command);
    }
    m_result.held = SettingsHeld::Other;
    messenger().Show(kMsgSettingFailed, MessageStyle::Warning);
    Finish(SettingsOutcome::ReadBackDiffers);
}

void ApplySettingsOperation::Restart() {
    const bool isp = link().session().isp;
    m_restart.Start(isp ? "rs 10\r" : "reboot sys 100\r", kStateRestart, nullptr, true,
                    [this](const RestartResult& restart) {
                        m_result.restart = restart;
                        Finish(restart.outcome == RestartOutcome::Back
                                   ? SettingsOutcome::Written
                                   : SettingsOutcome::RestartFailed,
                               restart.outcome.command);
                    });
}

void ApplySettingsOperation::Finish(SettingsOutcome outcome, std::string command) {
    m_result.outcome = Outcome<SettingsOutcome>{outcome, std::move(command)};
    End();
}

}  // namespace varnow
