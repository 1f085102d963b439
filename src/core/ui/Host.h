#pragma once

#include <optional>
#include <string>

#include "ui/MessageHost.h"

namespace varnow {

enum class ProgressMode : int { Connect = 0, Upload = 1, Password = 2, MakingKey = 3 };

// Where a long operation is; the dialog shows only its text, a terminal says more.
enum class ProgressStep { Working, Sending, Storing, Verifying };

// What the progress dialog shows.
struct ProgressState {
    ProgressMode mode = ProgressMode::Connect;
    std::string text;
    bool showBar = false;
    long long total = 0;    // units of the bar (the upload text's characters)
    long long current = 0;
    long long payload = 0;  // the bytes that the bar's total stands for (the image's)
    ProgressStep step = ProgressStep::Working;
};

// The progress dialog of long operations, as the core drives it. The host reports a dialog
// that its user closed with Progress::ClosedByUser().
class ProgressView {
public:
    virtual ~ProgressView() = default;
    virtual void ProgressShown(const ProgressState& state) = 0;
    virtual void ProgressChanged(const ProgressState& state) = 0;
    virtual void ProgressClosed() = 0;
};

enum class FirmwareStep { Checking, Preparing, Transferring, Programming, Restarting };

// What the firmware upgrade window shows.
struct FirmwareWindowState {
    std::string status;
    FirmwareStep step = FirmwareStep::Checking;
    long long sent = 0;
    long long total = 0;
    bool standby = true;    // waiting: the status is left-aligned, its dots grow
    bool enabled = true;    // takes input, and its close box works
    bool finished = false;  // the boot loader took the whole image
};

// The firmware upgrade window, as the core drives it. The user's close box goes to the core,
// which closes the window only while it is enabled.
class FirmwareWindowView {
public:
    virtual ~FirmwareWindowView() = default;
    virtual void FirmwareWindowShown(const FirmwareWindowState& state) = 0;
    virtual void FirmwareWindowChanged(const FirmwareWindowState& state) = 0;
    virtual void FirmwareWindowClosed() = 0;
};

// The main window's connection controls: the port list and the two arrangements.
class ConnectionView {
public:
    virtual ~ConnectionView() = default;
    virtual void ShowConnected(bool connected) = 0;
    // The port list's current text; empty when the list holds nothing or nothing is selected.
    virtual std::string SelectedPort() = 0;
    // Selects the port list's entry of that name, if the list holds one (it is not refilled).
    virtual void SelectPortInList(const std::string& name) = 0;
};

// The password dialog in login mode (ID "Admin"): nullopt when the user cancelled. The dialog
// itself refuses passwords shorter than 8 characters.
class LoginPrompt {
public:
    virtual ~LoginPrompt() = default;
    virtual std::optional<std::string> AskLoginPassword() = 0;
};

// One line that says what the board is and how the last operation ended.
class StatusView {
public:
    virtual ~StatusView() = default;
    virtual void ShowStatus(const std::string& text) = 0;
};

// Everything the core asks of a front end: a few questions (the login password, the answer to
// a message's buttons, the selected port) and notifications (messages, progress, the
// firmware window, the connected look). Modal windows are the front end's business.
class Host : public MessageHost,
             public ProgressView,
             public FirmwareWindowView,
             public ConnectionView,
             public LoginPrompt,
             public StatusView {};

}  // namespace varnow
