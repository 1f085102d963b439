#pragma once

#include <QDialog>
#include <QPixmap>
#include <QTimer>

#include "UiText.h"
#include "ui/Host.h"

namespace varnow::gui {

// The busy indicator of long operations: one line of text over a 12-frame spinner or, while
// an upload sends, a progress bar. Closed by its operation (Cancel) or by its user (Enter,
// Esc), which the operation hears of through finished().
class CDlgProgress : public QDialog {
public:
    CDlgProgress(QWidget* owner, ProgressMode mode, const UiText& ui);

    void SetTextAndBar(const QString& text, bool showBar);
    void SetTotal(int total) { m_total = total; }
    void SetCurrent(int current);
    // The owner's cancel action: ends the modal loop with 2.
    void Cancel() { done(2); }

    const QString& text() const { return m_text; }
    bool barShown() const { return m_showBar; }
    int frame() const { return m_frame; }
    ProgressMode mode() const { return m_mode; }

    void reject() override { done(2); }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    ProgressMode m_mode;
    QString m_text;
    QPixmap m_spinner;
    QTimer m_spinTimer;
    int m_frame = 0;
    bool m_showBar = false;
    int m_total = 0;
    int m_current = 0;
};

}  // namespace varnow::gui
