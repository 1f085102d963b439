#include "CDlgFWUpgrade.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QPainter>

#include "Look.h"

namespace varnow::gui {

CDlgFWUpgrade::CDlgFWUpgrade(QWidget* parent, const UiText& ui,
                             std::function<void()> closeRequested)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_closeRequested(std::move(closeRequested)) {
    setWindowTitle(ui(kTextUpgrade));
    setFont(DialogFont());
    const DialogUnits units = DialogUnitsFor(8);
    setFixedSize(units.X(237), units.Y(34));
    connect(&m_dots, &QTimer::timeout, this, [this] {
        ++m_ticks;
        update();
    });
    m_dots.start(100);
}

void CDlgFWUpgrade::Show(const FirmwareWindowState& state) {
    m_state = state;
    if (!state.standby) {
        m_dots.stop();  // the dots give way to the percentage for good
    }
    setEnabled(state.enabled);
    repaint();
}

void CDlgFWUpgrade::closeEvent(QCloseEvent* event) {
    // The core decides (not while the image is on its way) and closes the window itself.
    event->ignore();
    m_closeRequested();
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
    if (m_state.sent > 0 && m_state.total != 0) {
        const int right = static_cast<int>(m_state.sent * (w - 20) / m_state.total);
        painter.fillRect(QRect(QPoint(11, 16), QPoint(right - 1, 33)), kBarFill);
    }
    painter.setPen(kText);
    QString status = QString::fromStdString(m_state.status);
    if (m_state.standby) {
        status += QString(m_ticks % 50, '.');
    }
    const QRect area(QPoint(12, 15), QPoint(w - 25, 34));
    const Qt::Alignment align =
        Qt::AlignVCenter | (m_state.standby ? Qt::AlignLeft : Qt::AlignHCenter);
    painter.drawText(area, align | Qt::TextSingleLine,
                     painter.fontMetrics().elidedText(status, Qt::ElideMiddle, area.width()));
}

}  // namespace varnow::gui
