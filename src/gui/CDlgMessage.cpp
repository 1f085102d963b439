#include "CDlgMessage.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QPainter>

#include "Look.h"
#include "ui/MessageLayout.h"

namespace varnow::gui {
namespace {

constexpr int kButtonWidth = 74;  // 49 x 15 dialog units at 8 points
constexpr int kButtonHeight = 24;
constexpr int kButtonBand = 33;

QString IconFor(unsigned style) {
    switch (MessageIcon(style)) {
        case 16:
            return ":/images/icon_error.png";
        case 32:
            return ":/images/icon_question.png";
        case 48:
            return ":/images/icon_warning.png";
        case 64:
            return ":/images/icon_information.png";
        default:
            return {};
    }
}

}  // namespace

CDlgMessage::CDlgMessage(QWidget* owner, const QString& text, unsigned style, const UiText& ui)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
    InitGuiResources();
    setWindowTitle(ui(kTextCaption));
    setFont(DialogFont());
    const QString iconPath = IconFor(style);
    if (!iconPath.isEmpty()) {
        m_icon = QPixmap(iconPath);
    }
    const QFontMetrics metrics(font());
    const auto width = [&](const std::string& line) {
        return metrics.horizontalAdvance(QString::fromStdString(line));
    };
    const auto lines = WrapMessageLines(SplitMessageLines(text.toStdString()), width);
    int textWidth = 0;
    for (const auto& line : lines) {
        m_lines.push_back(QString::fromStdString(line));
        textWidth = std::max(textWidth, width(line));
    }
    m_lineHeight = metrics.height();
    const MessageBoxSize size =
        MessageDialogSize(textWidth, m_lineHeight, static_cast<int>(m_lines.size()));

    const auto buttons = MessageButtons(style);
    m_buttonCount = static_cast<int>(buttons.size());
    for (int i = 0; i < m_buttonCount; ++i) {
        // The rightmost button is the first of the array.
        const MessageButton& button = buttons[buttons.size() - 1 - static_cast<std::size_t>(i)];
        auto* push = new QPushButton(ui(button.captionId), this);
        push->setAutoDefault(false);
        push->resize(kButtonWidth, kButtonHeight);
        const int result = static_cast<int>(button.result);
        connect(push, &QPushButton::clicked, this, [this, result] { done(result); });
        m_buttons[static_cast<std::size_t>(i)] = push;
    }
    // The first button (leftmost) is the default one, as in a message box: OK, or Yes.
    if (m_buttonCount > 0) {
        m_buttons[static_cast<std::size_t>(m_buttonCount - 1)]->setDefault(true);
        m_defaultResult = static_cast<int>(buttons.front().result);
    }
    setFixedSize(size.width, size.height);
    LayOutButtons();
}

QList<QPushButton*> CDlgMessage::visibleButtons() const {
    QList<QPushButton*> list;
    for (int i = m_buttonCount - 1; i >= 0; --i) {
        list.push_back(m_buttons[static_cast<std::size_t>(i)]);
    }
    return list;
}

void CDlgMessage::LayOutButtons() {
    const int w = width();
    const int y = (kButtonBand - kButtonHeight) / 2 + height() - kButtonBand;
    int x = 0;
    switch (m_buttonCount) {
        case 1:
            x = (w - kButtonWidth) / 2;
            break;
        case 2:
            x = w / 2 + 2;
            break;
        default:
            x = (w - kButtonWidth) / 2 + kButtonWidth + 4;
            break;
    }
    for (int i = 0; i < m_buttonCount; ++i) {
        m_buttons[static_cast<std::size_t>(i)]->move(x - i * (kButtonWidth + 4), y);
    }
}

void CDlgMessage::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (m_buttonCount > 0) {
        LayOutButtons();
    }
}

void CDlgMessage::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        if (m_buttonCount > 0) {
            done(m_defaultResult);  // Enter presses the default button
        }
        return;
    }
    QDialog::keyPressEvent(event);
}

void CDlgMessage::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), kWindowBackground);
    if (!m_icon.isNull()) {
        painter.drawPixmap((90 - m_icon.width()) / 2,
                           (height() - m_icon.height() - kButtonBand) / 2, m_icon);
    }
    painter.setFont(font());
    painter.setPen(kText);
    int y = 28;
    for (const QString& line : m_lines) {
        painter.drawText(QRect(90, y, width() - 90, m_lineHeight), Qt::AlignLeft | Qt::AlignTop,
                         line);
        y += m_lineHeight + 8;
    }
}

}  // namespace varnow::gui
