#pragma once

#include <optional>
#include <string>

#include "ui/MessageHost.h"
#include "ui/Questions.h"

namespace varnow {

enum class ProgressMode : int { Connect = 0, Upload = 1, Password = 2, MakingKey = 3 };

// Where a long operation is; the dialog shows only its text, a terminal says more.
enum class ProgressStep { Working, Sending, Storing, Verifying };

// What the progress dialog shows.
struct ProgressState {
    ProgressMode mode = ProgressMode::Connect;
    std::string text;
    bool showBar = false;
    long long total = 0;  // units of the bar (the upload text's characters)
    long long current = 0;
    long long payload = 0;  // the bytes that the bar's total stands for (the image's)
    ProgressStep step = ProgressStep::Working;
    long long stepSeconds = -1;  // how long the step has lasted, where it is waited on
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

// Everything the core asks of a front end while it works on a board: the views an operation
// drives (progress, the firmware window, the connected look) and the questions it asks. It
// shows no message itself: those are part of each operation's result.
class Host : public ProgressView,
             public FirmwareWindowView,
             public ConnectionView,
             public Questions {
public:
    // An operation's messages as they come, for a front end that tells them at once (the
    // command line); none: the front end shows a result's messages once it has ended.
    virtual MessageHost* liveMessages() { return nullptr; }
};

}  // namespace varnow
