#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "ops/BoardRestart.h"
#include "ops/Operation.h"
#include "settings/SettingsBackup.h"
#include "settings/SettingsEditor.h"
#include "settings/SettingsRead.h"
#include "settings/SettingsWrite.h"

namespace varnow {

// What reading the settings found.
struct SettingsReadResult {
    Outcome<SettingsReadOutcome> outcome;
    EnvironmentData data;  // read whole and sound (only with Read)
};

// Read the board's settings block.
class ReadSettingsOperation : public Operation {
public:
    explicit ReadSettingsOperation(BoardContext& board)
        : Operation(board), m_read(board.link(), messenger()) {}

    const SettingsReadResult& result() const { return m_result; }
    bool succeeded() const override { return m_result.outcome == SettingsReadOutcome::Read; }

private:
    void Begin() override;

    SettingsRead m_read;
    SettingsReadResult m_result;
};

// How the settings are to change.
struct SettingsChange {
    enum class Kind {
        Pairs,    // KEY=VALUE through the pages' rules
        Edited,   // a dialog's pages over the block it read: the board must still hold it
        Restore,  // a block exactly as saved, from a backup of this board
    };
    Kind kind = Kind::Pairs;
    SettingPairs pairs;
    EnvironmentData edited;  // Edited
    SettingsBackup backup;   // Restore
    bool reboot = false;     // restart the board to apply them, and connect again
    bool dryRun = false;     // check everything up to the first write, write nothing
};

enum class SettingsOutcome {
    Written,           // written, read back and equal to what was sent
    Unchanged,         // the board holds these settings already: nothing written
    DryRun,            // checked; nothing written
    Refused,           // a value the rules do not allow: nothing written
    ChangedMeanwhile,  // the board's block is no longer the one the dialog read
    OtherBoard,        // the backup was saved from another board
    BadBackup,         // the backup's block fails its checks
    NotRead,           // the board's settings could not be read whole: nothing written
    BackupFailed,      // the block as read could not be saved first: nothing written
    NotSent,           // the write failed before any of the block went out
    NotTaken,          // sent, but the board still holds what it held: nothing changed
    ReadBackDiffers,   // the board holds something else than was sent
    Unconfirmed,       // sent, and what the board holds now could not be read
    RestartFailed,     // written and verified; the restart or the connect after it failed
    IspMode,
    NoBoard,
    BoardLost,
};

// What the board holds after a write.
enum class SettingsHeld { Old, New, Other, Unknown };

struct SettingsResult {
    Outcome<SettingsOutcome> outcome;
    SettingRefusal refusal;  // Refused: why
    EnvironmentData before;  // as read, whole
    EnvironmentData after;   // as asked
    std::vector<SettingChange> changes;
    bool ipv6SwitchedOff = false;  // the board had IPv6 on: the write switches it off
    std::filesystem::path backup;  // where the block as read was saved
    std::string backupProblem;
    Bytes sent;  // the block that went out
    SettingsHeld held = SettingsHeld::Old;
    std::optional<RestartResult> restart;
};

// Apply settings: read the board's block whole, make the change by the pages' rules, save the
// block as read, write the new one, read it back and compare, and restart the board when
// asked. Nothing is written from a read that was not whole and sound, and the result always
// says what the board may hold.
class ApplySettingsOperation : public Operation {
public:
    ApplySettingsOperation(BoardContext& board, SettingsChange change);

    const SettingsResult& result() const { return m_result; }
    bool succeeded() const override;

private:
    void Begin() override;
    void OnRead(const Outcome<SettingsReadOutcome>& read, EnvironmentData data);
    // The block to send, or nullopt with the operation ended.
    std::optional<Bytes> Target();
    void Write();
    void OnWritten(const Outcome<SettingsWriteOutcome>& written);
    void OnReadBack(const Outcome<SettingsReadOutcome>& read, const EnvironmentData& data);
    void Restart();
    void Finish(SettingsOutcome outcome, std::string command = {});

    SettingsChange m_change;
    SettingsRead m_read;
    SettingsWrite m_write;
    BoardRestart m_restart;
    SettingsResult m_result;
    Outcome<SettingsWriteOutcome> m_written;
};

}  // namespace varnow
