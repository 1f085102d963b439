#include "ui/Progress.h"

#include <utility>

namespace varnow {

void Progress::Show(ProgressMode mode, std::string text) {
    m_state = ProgressState{mode, std::move(text)};
    m_shown = true;
    m_view.ProgressShown(m_state);
}

void Progress::Close() {
    if (m_shown) {
        m_shown = false;
        m_view.ProgressClosed();
    }
}

void Progress::SetText(std::string text, bool showBar) {
    m_state.text = std::move(text);
    m_state.showBar = showBar;
    if (m_shown) {
        m_view.ProgressChanged(m_state);
    }
}

void Progress::SetTotal(long long total, long long payload) {
    m_state.total = total;
    m_state.payload = payload;
}

void Progress::SetStepSeconds(long long seconds) {
    m_state.stepSeconds = seconds;
    if (m_shown) {
        m_view.ProgressChanged(m_state);
    }
}

void Progress::SetStep(ProgressStep step) {
    m_state.step = step;
    m_state.stepSeconds = -1;
    if (m_shown) {
        m_view.ProgressChanged(m_state);
    }
}

void Progress::SetCurrent(long long current) {
    m_state.current = current;
    if (m_shown) {
        m_view.ProgressChanged(m_state);
    }
}

}  // namespace varnow
