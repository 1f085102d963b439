#pragma once

#include <QComboBox>
#include <functional>

namespace varnow::gui {

// The port list: refilled each time it is about to drop down.
class PortComboBox : public QComboBox {
public:
    explicit PortComboBox(QWidget* parent) : QComboBox(parent) {}
    // Runs before the list drops down; it may refill the list.
    void SetBeforeDropDown(std::function<void()> fill) { m_fill = std::move(fill); }
    void showPopup() override;

private:
    std::function<void()> m_fill;
};

}  // namespace varnow::gui
