#include "CWndFileList.h"

#include <QPainter>

#include "Look.h"

namespace varnow::gui {

CWndFileList::CWndFileList(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setFont(DialogFont());
}

void CWndFileList::SetPackagePath(const QString& path) {
    m_package.SetPackagePath(path.toStdString());
    update();
}

QString CWndFileList::packagePath() const {
    return QString::fromStdString(m_package.packagePath().string());
}

QString CWndFileList::shownText() const {
    return fontMetrics().elidedText(packagePath(), Qt::ElideMiddle, width() - 15);
}

void CWndFileList::paintEvent(QPaintEvent* event) {
    {
        QPainter painter(this);
        painter.fillRect(rect(), kFieldBackground);
        painter.setPen(kText);
        painter.drawText(QRect(QPoint(5, 0), QPoint(width() - 10, 20)),
                         Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, shownText());
    }
    QFrame::paintEvent(event);
}

}  // namespace varnow::gui
