#include "CAboutDlg.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "Look.h"

namespace varnow::gui {

CAboutDlg::CAboutDlg(QWidget* owner, const UiText& ui)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
    setWindowTitle(ui(kTextAbout));
    setFont(DialogFont());
    auto* layout = new QGridLayout(this);
    auto* icon = new QLabel(this);
    icon->setPixmap(QPixmap(":/images/app.png"));
    auto* version = new QLabel(ui(kTextVersionLabel) + kVersion, this);
    version->setObjectName("version");
    auto* line = new QLabel(ui(kTextAboutLine), this);
    auto* ok = new QPushButton(ui(114), this);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(icon, 0, 0, 2, 1, Qt::AlignTop);
    layout->addWidget(version, 0, 1);
    layout->addWidget(line, 1, 1);
    layout->addWidget(ok, 2, 1, Qt::AlignRight);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace varnow::gui
