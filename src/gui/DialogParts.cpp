#include "DialogParts.h"

#include <QKeyEvent>
#include <QPushButton>

namespace varnow::gui {

void EnterProofDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        return;
    }
    QDialog::keyPressEvent(event);
}

QHBoxLayout* OkCancelRow(QDialog* dialog, const UiText& ui) {
    auto* row = new QHBoxLayout;
    auto* ok = new QPushButton(ui(114), dialog);
    auto* cancel = new QPushButton(ui(113), dialog);
    for (QPushButton* button : {ok, cancel}) {
        button->setAutoDefault(false);
    }
    QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    row->addStretch();
    row->addWidget(ok);
    row->addWidget(cancel);
    return row;
}

}  // namespace varnow::gui
