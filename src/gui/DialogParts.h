#pragma once

#include <QDialog>
#include <QHBoxLayout>

#include "UiText.h"

namespace varnow::gui {

// A dialog that Enter never closes: only its buttons, Esc and the close box end it.
class EnterProofDialog : public QDialog {
public:
    using QDialog::QDialog;

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// OK and Cancel at the right of a row, neither taking Enter: OK calls the dialog's accept()
// (its own, when it checks first), Cancel its reject().
QHBoxLayout* OkCancelRow(QDialog* dialog, const UiText& ui);

}  // namespace varnow::gui
