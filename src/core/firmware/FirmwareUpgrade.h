#pragma once

#include <filesystem>
#include <string>

namespace varnow {

class Writer;

// How the last firmware upgrade ended; None while it runs.
enum class FirmwareOutcome {
    None,
    Transmitted,  // the boot loader took the whole image
    Failed,       // a step failed or timed out
    FileRefused,  // the file could not be read or its CRC is wrong
};

const char* FirmwareOutcomeName(FirmwareOutcome outcome);

// The firmware upgrade window's logic: checks the file, asks the main window step by step to
// reach the boot loader and send the image, and keeps the status and bar that the window
// shows. The host shows it (RunFirmwareWindow) and repaints on FirmwareWindowChanged().
class FirmwareUpgrade {
public:
    static constexpr int kCheckTimer = 101;    // 10 ms after opening: check the file
    static constexpr int kStandbyTimer = 102;  // every 100 ms while on standby: the dots

    FirmwareUpgrade(Writer& writer, std::filesystem::path path);

    // Called by the host once the window is shown.
    void Start();
    void OnTimer(int id);
    // The messages from the main window's side of the transfer.
    void OnBootLoaderReady();
    void OnTestAccepted();
    void OnProgress(long long sent);
    void OnEnded(bool success);

    const std::filesystem::path& path() const { return m_path; }
    const std::string& status() const { return m_status; }
    long long sent() const { return m_sent; }
    long long total() const { return m_total; }
    bool standby() const { return m_standby; }
    bool finished() const { return m_finished; }
    // The window takes input (and its close box works) only while enabled.
    bool enabled() const { return m_enabled; }
    FirmwareOutcome outcome() const { return m_outcome; }

private:
    void CheckFile();
    void Changed();

    Writer& m_writer;
    std::filesystem::path m_path;
    std::string m_status;
    long long m_sent = 0;
    long long m_total = 0;
    int m_ticks = 0;
    bool m_standby = true;
    bool m_finished = false;
    bool m_enabled = true;
    FirmwareOutcome m_outcome = FirmwareOutcome::None;
};

}  // namespace varnow
