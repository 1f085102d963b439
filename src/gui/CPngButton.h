#pragma once

#include <QAbstractButton>
#include <QPixmap>

namespace varnow::gui {

// An image button: a PNG on the window's background, with an enabled and a disabled look and
// a tooltip; a click is an ordinary button click.
class CPngButton : public QAbstractButton {
public:
    CPngButton(const QString& image, const QString& tooltip, QWidget* parent);
    QSize sizeHint() const override { return m_enabled.size(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap m_enabled;
    QPixmap m_disabled;
};

}  // namespace varnow::gui
