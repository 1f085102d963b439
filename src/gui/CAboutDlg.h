#pragma once

#include <QDialog>

#include "UiText.h"

namespace varnow::gui {

inline constexpr const char* kVersion = "1.0.1";

// "Varno Writer information": the icon, the version line and an OK button.
class CAboutDlg : public QDialog {
public:
    CAboutDlg(QWidget* owner, const UiText& ui);
};

}  // namespace varnow::gui
