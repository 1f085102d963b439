#pragma once

#include <QDialog>
#include <QPixmap>
#include <QPushButton>
#include <array>

#include "UiText.h"
#include "ui/Message.h"

namespace varnow::gui {

// The message dialog every message goes through: its own painting, lines split at LF and
// wrapped at 400 pixels, one to three buttons by style; exec() returns the message-box result.
class CDlgMessage : public QDialog {
public:
    CDlgMessage(QWidget* owner, const QString& text, unsigned style, const UiText& text_);

    const QStringList& lines() const { return m_lines; }
    int buttonCount() const { return m_buttonCount; }
    // The visible buttons, left to right.
    QList<QPushButton*> visibleButtons() const;

    void reject() override { done(static_cast<int>(MessageResult::Cancel)); }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void LayOutButtons();

    QStringList m_lines;
    QPixmap m_icon;
    int m_lineHeight = 0;
    int m_buttonCount = 0;
    int m_defaultResult = 0;
    std::array<QPushButton*, 3> m_buttons{};  // right to left: 1004, 1005, 1007
};

}  // namespace varnow::gui
