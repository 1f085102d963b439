#include "CDlgCertSelect.h"

#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "Look.h"
#include "ui/MessageIds.h"

namespace varnow::gui {

CDlgCertSelect::CDlgCertSelect(QWidget* owner, const UiText& ui, Messenger& messenger, Mode mode)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_ui(ui),
      m_messenger(messenger),
      m_mode(mode) {
    setWindowTitle(ui(kMsgSelectCertificate));
    setFont(DialogFont());
    auto* layout = new QVBoxLayout(this);
    const bool key = mode == Mode::Key;
    layout->addWidget(new QLabel(key ? ui(kTextNoKeyInCertificate) : QString(), this));
    layout->addWidget(new QLabel(ui(key ? kMsgSelectRsaKey : kMsgSelectCertificate), this));
    auto* row = new QHBoxLayout;
    m_field = new QLabel(this);
    m_field->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_field->setMinimumWidth(DialogUnitsFor(8).X(180));
    m_open = new QPushButton(ui(kTextOpen), this);
    m_open->setAutoDefault(false);
    row->addWidget(m_field, 1);
    row->addWidget(m_open);
    layout->addLayout(row);
    auto* buttons = new QHBoxLayout;
    auto* ok = new QPushButton(ui(114), this);
    auto* cancel = new QPushButton(ui(113), this);
    ok->setDefault(true);  // Enter is OK here
    connect(ok, &QPushButton::clicked, this, &CDlgCertSelect::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_open, &QPushButton::clicked, this, [this] {
        const QString chosen = QFileDialog::getOpenFileName(this, windowTitle());
        if (!chosen.isEmpty()) {
            SetPath(QDir::toNativeSeparators(chosen));
        }
    });
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
}

void CDlgCertSelect::SetPath(const QString& path) {
    m_path = path;
    ShowPath();
}

void CDlgCertSelect::ShowPath() {
    m_field->setText(m_field->fontMetrics().elidedText(m_path, Qt::ElideMiddle,
                                                       m_field->contentsRect().width()));
    m_field->setToolTip(m_path);
}

void CDlgCertSelect::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    ShowPath();
}

void CDlgCertSelect::accept() {
    if (m_path.isEmpty()) {
        m_messenger.Show(m_mode == Mode::Key ? kMsgSelectRsaKey : kMsgSelectCertificate,
                         MessageStyle::Warning);
        return;
    }
    QDialog::accept();
}

}  // namespace varnow::gui
