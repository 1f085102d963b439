#include "CDlgFWUpgrade.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QTimer>

#include "Look.h"

namespace varnow::gui {

CDlgFWUpgrade::CDlgFWUpgrade(QWidget* parent, FirmwareUpgrade& upgrade, const UiText& ui)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_upgrade(upgrade) {
    setWindowTitle(ui(kTextUpgrade));
    setFont(DialogFont());
    const DialogUnits units = DialogUnitsFor(8);
    setFixedSize(units.X(237), units.Y(34));
}

void CDlgFWUpgrade::Refresh() {
    setEnabled(m_upgrade.enabled());
    repaint();
}

void CDlgFWUpgrade::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!m_started) {
        m_started = true;
        QTimer::singleShot(0, this, [this] { m_upgrade.Start(); });
    }
}

void CDlgFWUpgrade::closeEvent(QCloseEvent* event) {
    if (!m_upgrade.enabled()) {
        event->ignore();  // not while the image is on its way
        return;
    }
    QDialog::closeEvent(event);
}

void CDlgFWUpgrade::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter ||
        event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CDlgFWUpgrade::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const int w = width();
    painter.fillRect(rect(), kWindowBackground);
    painter.setPen(QPen(kBarFrame, 1));
    painter.setBrush(kBarBrush);
    painter.drawRect(QRect(QPoint(10, 15), QPoint(w - 21, 34)));
    if (m_upgrade.sent() > 0 && m_upgrade.total() != 0) {
        const int right = static_cast<int>(m_upgrade.sent() * (w - 20) / m_upgrade.total());
        painter.fillRect(QRect(QPoint(11, 16), QPoint(right - 1, 33)), kBarFill);
    }
    painter.setPen(kText);
    const QString status = QString::fromStdString(m_upgrade.status());
    const QRect area(QPoint(12, 15), QPoint(w - 25, 34));
    const Qt::Alignment align =
        Qt::AlignVCenter | (m_upgrade.standby() ? Qt::AlignLeft : Qt::AlignHCenter);
    painter.drawText(area, align | Qt::TextSingleLine,
                     painter.fontMetrics().elidedText(status, Qt::ElideMiddle, area.width()));
}

}  // namespace varnow::gui
