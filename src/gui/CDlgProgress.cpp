#include "CDlgProgress.h"

#include <QKeyEvent>
#include <QPainter>

#include "Look.h"

namespace varnow::gui {
namespace {
constexpr int kTextIds[] = {117, 123, 154, 207};
}  // namespace

CDlgProgress::CDlgProgress(QWidget* owner, ProgressMode mode, const UiText& ui)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), m_mode(mode) {
    InitGuiResources();
    m_spinner = QPixmap(":/images/spinner.png");
    setWindowTitle(ui(kTextCaption));
    const DialogUnits units = DialogUnitsFor(8);
    setFixedSize(units.X(214), units.Y(79));
    m_text = ui(kTextIds[static_cast<int>(mode)]);
    connect(&m_spinTimer, &QTimer::timeout, this, [this] {
        m_frame = (m_frame + 1) % 12;
        update();
    });
    m_spinTimer.start(100);
}

void CDlgProgress::SetTextAndBar(const QString& text, bool showBar) {
    m_text = text;
    m_showBar = showBar;
    update();
}

void CDlgProgress::SetCurrent(int current) {
    m_current = current;
    repaint();  // at once: the upload sends its blocks without returning to the loop
}

void CDlgProgress::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter ||
        event->key() == Qt::Key_Escape) {
        done(2);
        return;
    }
    QDialog::keyPressEvent(event);
}

void CDlgProgress::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const int w = width();
    painter.fillRect(rect(), kWindowBackground);
    painter.setFont(DialogFont(true));
    painter.setPen(kText);
    const QString shown = painter.fontMetrics().elidedText(m_text, Qt::ElideRight, w);
    painter.drawText(QRect(0, 0, w, 40), Qt::AlignCenter, shown);
    if (m_mode == ProgressMode::Upload && m_showBar) {
        painter.setPen(QPen(kBarFrame, 1));
        painter.setBrush(kBarBrush);
        painter.drawRect(QRect(QPoint(20, 60), QPoint(w - 21, 77)));
        if (m_current > 0 && m_total != 0) {
            const int fill =
                static_cast<int>(static_cast<long long>(m_current) * (w - 40) / m_total);
            painter.fillRect(QRect(21, 61, fill, 16), kBarFill);
        }
    } else if (!m_spinner.isNull()) {
        painter.drawPixmap(QPoint(w / 2 - 20, 50), m_spinner, QRect(m_frame * 40, 0, 40, 40));
    }
}

}  // namespace varnow::gui
