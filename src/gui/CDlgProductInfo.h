#pragma once

#include <QDialog>
#include <QLabel>
#include <string>
#include <vector>

#include "UiText.h"

namespace varnow::gui {

// "Product/Firmware information": one line for each thing the board told about itself
// (product and image names, uptime, MAC, firmware name, version and size), and OK.
class CDlgProductInfo : public QDialog {
public:
    CDlgProductInfo(QWidget* owner, const UiText& ui, const std::vector<std::string>& lines);

    const QList<QLabel*>& labels() const { return m_labels; }

private:
    QList<QLabel*> m_labels;
};

}  // namespace varnow::gui
