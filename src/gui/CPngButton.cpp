#include "CPngButton.h"

#include <QPainter>

#include "Look.h"

namespace varnow::gui {

CPngButton::CPngButton(const QString& image, const QString& tooltip, QWidget* parent)
    : QAbstractButton(parent) {
    InitGuiResources();
    m_enabled = QPixmap(":/images/" + image + ".png");
    m_disabled = QPixmap(":/images/" + image + "_disabled.png");
    setToolTip(tooltip);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
    resize(m_enabled.size());
}

void CPngButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), kWindowBackground);
    const QPixmap& image = isEnabled() ? m_enabled : m_disabled;
    painter.setOpacity(isDown() ? 0.8 : 1.0);
    painter.drawPixmap(0, 0, image);
}

}  // namespace varnow::gui
