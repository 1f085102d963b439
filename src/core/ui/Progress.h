#pragma once

#include <string>

#include "ui/Host.h"

namespace varnow {

// The one progress dialog of the running operation: shown by a chain, closed by it (or by the
// failure paths of the channel), or closed by its user while the operation goes on.
class Progress {
public:
    explicit Progress(ProgressView& view) : m_view(view) {}

    void Show(ProgressMode mode, std::string text);
    // Closes the dialog if one is shown.
    void Close();
    bool shown() const { return m_shown; }
    ProgressMode mode() const { return m_state.mode; }

    void SetText(std::string text, bool showBar);
    // The bar's total, and the bytes it stands for.
    void SetTotal(long long total, long long payload = 0);
    void SetCurrent(long long current);
    void SetStep(ProgressStep step);
    // How long the step has lasted: for a wait on the board that may be long.
    void SetStepSeconds(long long seconds);

    // The host's report that the user closed the dialog; the operation goes on without it.
    void ClosedByUser() { m_shown = false; }

private:
    ProgressView& m_view;
    ProgressState m_state;
    bool m_shown = false;
};

}  // namespace varnow
