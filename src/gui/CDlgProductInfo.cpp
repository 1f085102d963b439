#include "CDlgProductInfo.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "Look.h"

namespace varnow::gui {

CDlgProductInfo::CDlgProductInfo(QWidget* owner, const UiText& ui,
                                 const std::vector<std::string>& lines)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
    setWindowTitle(ui(kTextProductInfo));
    setFont(DialogFont());
    auto* layout = new QVBoxLayout(this);
    for (const std::string& line : lines) {
        auto* label = new QLabel(QString::fromStdString(line), this);
        label->setFont(DialogFont());
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);  // a MAC can be copied
        layout->addWidget(label);
        m_labels << label;
    }
    auto* row = new QHBoxLayout;
    auto* ok = new QPushButton(ui(114), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    row->addStretch();
    row->addWidget(ok);
    layout->addSpacing(8);
    layout->addLayout(row);
    setMinimumWidth(DialogUnitsFor(8).X(200));
}

}  // namespace varnow::gui
