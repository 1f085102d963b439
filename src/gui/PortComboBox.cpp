#include "PortComboBox.h"

namespace varnow::gui {

void PortComboBox::showPopup() {
    if (m_fill) {
        m_fill();
    }
    QComboBox::showPopup();
}

}  // namespace varnow::gui
