#pragma once

#include <functional>
#include <optional>
#include <string>

#include "ui/MessageHost.h"

namespace varnow {

class FirmwareUpgrade;

enum class ProgressMode : int { Connect = 0, Upload = 1, Password = 2 };

// Everything that shows a window or asks the user, as the core sees it. The GUI and the command
// line implement it; tests use a scripted one. Modal calls run a nested event loop in which the
// core keeps receiving serial arrivals and timer expiries.
class Host : public MessageHost {
public:
    // Shows the progress dialog and returns when it has closed: by CloseProgress() or because
    // the user closed it. In the connect and upload modes `started` runs 10 ms after it opened.
    virtual void RunProgress(ProgressMode mode, const std::function<void()>& started) = 0;
    // The progress dialog's cancel action: ends RunProgress. Does nothing when none is shown.
    virtual void CloseProgress() = 0;
    virtual void SetProgressText(const std::string& text, bool showBar) = 0;
    virtual void SetProgressTotal(int total) = 0;
    virtual void SetProgressCurrent(int current) = 0;

    // The password dialog in login mode (ID "Admin"); nullopt when the user cancelled. The
    // dialog itself refuses passwords shorter than 8 characters.
    virtual std::optional<std::string> AskLoginPassword() = 0;

    // The firmware upgrade window: shown modally until the user closes it (possible only
    // while upgrade.enabled()) or CloseFirmwareWindow() is called. The host calls
    // upgrade.Start() once it is shown, and repaints on FirmwareWindowChanged().
    virtual void RunFirmwareWindow(FirmwareUpgrade& upgrade) = 0;
    virtual void CloseFirmwareWindow() = 0;
    virtual void FirmwareWindowChanged() = 0;

    // The main window's controls: the connected or the disconnected arrangement.
    virtual void ShowConnected(bool connected) = 0;
    // The port list's current text; empty when the list holds nothing or nothing is selected.
    virtual std::string SelectedPort() = 0;
    // Selects the port list's entry of that name, if the list holds one (it is not refilled).
    virtual void SelectPortInList(const std::string& name) = 0;
};

}  // namespace varnow
